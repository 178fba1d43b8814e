#include <QCursor>
#include <QMouseEvent>

#include "GUI/D2DSMPTEDisplay.h"
#include "GUIMain/Header.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "GUIMain/Menu.h"
#include "GUIMain/StatusDisplay.h"
#include "GUIMain/VUDisplay.h"
#include "Project/Operations/OperationNewProject.h"

namespace GUIMain::Testing {
namespace {

class HeaderTest : public MainWindowTest {
protected:
    Header& header() { return *window_->getHeader(); }

    void newProject(int format)
    {
        ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(format)));
        ScriptRunner::drainEvents();
    }
    // One tick of the fold animation, without the event loop's timing.
    void tick()
    {
        GUI::Message message;
        message.code = GUI::kMessageTimer;
        message.wParam = Header::kFoldTimer;
        GUI::Component::send(header().getHandle(), message);
    }
    // The fold values of the ticks until the animation stops (at most `limit`).
    std::vector<float> foldSteps(int limit = 40)
    {
        std::vector<float> steps;
        while (header().isFolding() && static_cast<int>(steps.size()) < limit) {
            tick();
            steps.push_back(header().getFoldValue());
        }
        return steps;
    }
    void moveMouse(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, header().getHandle()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header().getHandle(), &move);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(header().getHandle(), &event);
    }
    static void expectSteps(const std::vector<float>& actual, const std::vector<float>& expected)
    {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(actual[i], expected[i], 1e-4) << "tick " << i + 1;
        }
    }
};

TEST_F(HeaderTest, TheLogoGlowsHalfWayUnderThePointerAndFadesBackSlowly)
{
    // The menu shows from the start, unfolded.
    EXPECT_FLOAT_EQ(header().getFoldValue(), 1.0f);
    newProject(SMPTE::SMPTE_25);
    ASSERT_FALSE(window_->isMenuVisible());
    EXPECT_EQ(header().getFoldTarget(), 0.0f);
    EXPECT_EQ(foldSteps().size(), 20u) << "folding in from 1 to 0 by 0.05";

    moveMouse(QPoint(300, 40));
    EXPECT_TRUE(header().isLogoHovered());
    EXPECT_EQ(header().getHandle()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(header().getFoldTarget(), 0.5f);
    expectSteps(foldSteps(), {0.2f, 0.4f, 0.5f});
    EXPECT_FALSE(header().isFolding()) << "the timer stops at the target";

    // Below the band is the timeline, not the logo.
    moveMouse(QPoint(300, 100));
    EXPECT_FALSE(header().isLogoHovered());
    EXPECT_EQ(header().getHandle()->cursor().shape(), Qt::ArrowCursor);
    expectSteps(foldSteps(), {0.45f, 0.4f, 0.35f, 0.3f, 0.25f, 0.2f, 0.15f, 0.1f, 0.05f, 0.0f});

    // Leaving the window clears the hover as well; turning back midway reverses at once.
    moveMouse(QPoint(549, 99));
    tick();
    tick();
    leave();
    EXPECT_FALSE(header().isLogoHovered());
    expectSteps(foldSteps(), {0.35f, 0.3f, 0.25f, 0.2f, 0.15f, 0.1f, 0.05f, 0.0f});
    moveMouse(QPoint(550, 50));
    EXPECT_FALSE(header().isLogoHovered()) << "x = 550 is outside the logo area";
    EXPECT_EQ(state()["header"]["foldTarget"], 0.0);
}

TEST_F(HeaderTest, ALogoClickFoldsTheMenuOutAndInWhileAShowIsOpen)
{
    run({"click Header 100 50"});
    EXPECT_TRUE(state()["menuVisible"]) << "without a show the menu stays";
    newProject(SMPTE::SMPTE_25);
    EXPECT_FALSE(state()["menuVisible"]);

    run({"click Header 100 50"});
    nlohmann::json s = state();
    EXPECT_TRUE(s["menuVisible"]);
    EXPECT_EQ(s["header"]["foldTarget"], 1.0);
    foldSteps();
    EXPECT_FLOAT_EQ(header().getFoldValue(), 1.0f);
    EXPECT_FLOAT_EQ(window_->getMenu()->getFoldValue(), 1.0f) << "the menu unfolds with it";

    moveMouse(QPoint(100, 50));
    EXPECT_EQ(header().getFoldTarget(), 1.0f) << "the hover does not fold a shown menu in";
    run({"click Header 100 50"});
    s = state();
    EXPECT_FALSE(s["menuVisible"]);
    EXPECT_EQ(s["header"]["foldTarget"], 0.5) << "the pointer is still on the logo";
    EXPECT_EQ(s["focus"], "Skyfirewright");
}

TEST_F(HeaderTest, TheStatusDisplayFollowsTheShow)
{
    newProject(SMPTE::SMPTE_25);
    nlohmann::json status = state()["status"];
    EXPECT_EQ(status["format"], "25");
    EXPECT_EQ(status["cur"], "00:00:00:00");
    EXPECT_EQ(status["next"], "");
    EXPECT_EQ(status["midi"], "No MTC");

    Project::ProjectState& show = session_->state();
    for (int seconds : {12, 5}) {
        show.setPosition(SMPTE(SMPTE::SMPTE_25, 0, 0, seconds, 0));
        run({"command 46"});
    }
    show.setPosition(SMPTE(SMPTE::SMPTE_25, 0, 0, 0, 0));
    ScriptRunner::drainEvents();
    status = state()["status"];
    EXPECT_EQ(status["next"], "00:00:05:00");
    EXPECT_EQ(status["len"], "00:00:12:00");
    show.setPosition(SMPTE(SMPTE::SMPTE_25, 0, 0, 6, 3));
    status = state()["status"];
    EXPECT_EQ(status["cur"], "00:00:06:03");
    EXPECT_EQ(status["next"], "00:00:12:00");
    show.setPosition(SMPTE(SMPTE::SMPTE_25, 0, 0, 13, 0));
    EXPECT_EQ(state()["status"]["next"], "") << "nothing left to fire";

    // A show in 30 drop-frame: the format and the timecodes' separators follow.
    ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(SMPTE::SMPTE_30DF)));
    show.setPosition(SMPTE(SMPTE::SMPTE_30DF, 0, 1, 0, 2));
    status = state()["status"];
    EXPECT_EQ(status["format"], "DF");
    EXPECT_EQ(status["cur"], "00;01;00;02");

    run({"answer ok"});
    ASSERT_TRUE(session_->startMidiMaster("0"));
    EXPECT_EQ(state()["status"]["midi"], "Send MTC");
    run({"answer ok"});
    ASSERT_TRUE(session_->startMidiSlave("0"));
    EXPECT_EQ(state()["status"]["midi"], "Receive MTC");
    session_->midi().chooseNone();
    EXPECT_EQ(state()["status"]["midi"], "No MTC");
}

TEST_F(HeaderTest, TheLevelMeterLightsOnADecibelScaleAndFallsSilentWithThePlayer)
{
    StatusDisplay& status = *header().getStatusDisplay();
    const VUDisplay& meter = *status.getLevelMeter();
    struct Case {
        int level;
        int lit;
    };
    // 24 lights over 48 dB: one light per 2 dB.
    for (const Case& c : {Case{0, 0}, Case{100, 0}, Case{32768, 24}, Case{99999, 24},
                          Case{16384, 21}, Case{1036, 9}}) {
        status.levelsReported(c.level, c.level / 2);
        EXPECT_EQ(meter.getLitLeft(), c.lit) << c.level;
        EXPECT_EQ(meter.getLitRight(), VUDisplay::litCount(c.level / 2)) << c.level;
    }
    status.playerStateChanged();
    EXPECT_EQ(meter.getLitLeft() + meter.getLitRight(), 0) << "a player that is not playing";
}

TEST_F(HeaderTest, TransportButtonsSendTheirCommands)
{
    newProject(SMPTE::SMPTE_25);
    Project::ProjectState& show = session_->state();
    // Record sets the record request; play, pause and stop each clear it.
    for (const char* button : {"PlayButton", "PauseButton", "StopButton"}) {
        run({"click Header/StatusDisplay/RecordButton"});
        EXPECT_TRUE(show.getRecordRequest());
        run({std::string("click Header/StatusDisplay/") + button});
        EXPECT_FALSE(show.getRecordRequest()) << button;
    }
}

}  // namespace
}  // namespace GUIMain::Testing
