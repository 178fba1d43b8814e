#include <QtTest/QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Config/Settings.h"
#include "Controller/ShowMode.h"
#include "DeviceSimulator.h"
#include "GUIMain/ExternalLinks.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "Platform/Utf.h"
#include "Project/CueCommand.h"
#include "Project/CueFireCheck.h"
#include "Project/Operations/OperationNewProject.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/ProjectState.h"

// The wizards through the real main window on the offscreen platform, driven by script lines,
// with the device simulator over a pseudo-terminal as the firing controller.
namespace GUIMain {
namespace {

using Project::CueCommand;
using Clock = Project::ProjectState;

constexpr int kFormat = SMPTE::SMPTE_25;

std::string tr(const wchar_t* key)
{
    return Platform::toUtf8(Config::tr(key));
}

class WizardTest : public Testing::MainWindowTest {
protected:
    void SetUp() override
    {
        controllerPorts_ = [this] {
            ++portSearches_;
            return device_ ? std::vector<std::string>{device_->portPath()}
                           : std::vector<std::string>{};
        };
        Testing::MainWindowTest::SetUp();
        previousOpener_ = setExternalOpener([this](const QUrl& url) { opened_.push_back(url); });
    }

    void TearDown() override
    {
        setExternalOpener(std::move(previousOpener_));
        Testing::MainWindowTest::TearDown();
        if (device_) {
            device_->stop();
        }
    }

    void startDevice()
    {
        device_ = std::make_unique<::Testing::DeviceSimulator>();
        ASSERT_TRUE(device_->start({"--module", "1=0xFFFF"})) << device_->error();
    }

    // A new 25 fps project with a pyro cue a second for each address.
    void makeShow(const std::vector<int>& addresses)
    {
        ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(kFormat)));
        int frames = 25;
        for (int address : addresses) {
            session_->project().getProjectData().getCueList().add(
                SMPTE::fromFrameNo(kFormat, frames), CueCommand::pyro(address), 0, 0, 1, -1, "");
            frames += 25;
        }
    }

    nlohmann::json wizard() { return state().value("wizard", nlohmann::json()); }
    std::string page() { return wizard().value("page", std::string()); }
    void choose(int button) { run({"click Wizard/Content/Btn" + std::to_string(button)}); }
    void ok() { run({"click Wizard/Content/OkButton"}); }
    bool wizardOpen() { return state().contains("wizard"); }

    // Waits, with the event loop running, for a log line of the device with every fragment
    // at or after line `from`; its index.
    std::optional<std::size_t> waitForLog(const std::vector<std::string>& fragments,
                                          std::size_t from = 0, int timeoutMs = 5000)
    {
        std::optional<std::size_t> found;
        (void)QTest::qWaitFor(
            [&] {
                const std::vector<std::string> lines = device_->logLines();
                for (std::size_t i = from; i < lines.size(); ++i) {
                    bool all = true;
                    for (const std::string& fragment : fragments) {
                        all = all && lines[i].find(fragment) != std::string::npos;
                    }
                    if (all) {
                        found = i;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found;
    }

    // The show wizard from command 5 to the pyro-mode page.
    void openShowWizardToPyroMode()
    {
        run({"command 5"});
        ASSERT_EQ(page(), "SHOW.PYRO_MODE") << wizard().dump();
        EXPECT_TRUE(session_->controller().isConnected());
    }

    std::unique_ptr<::Testing::DeviceSimulator> device_;
    int portSearches_ = 0;
    std::vector<QUrl> opened_;
    ExternalOpener previousOpener_;
};

// From a checked show to show mode in each clock mode and in manual fire, with the pyro link
// the user chose set on the device; the finished wizard leaves the show running when it closes.
TEST_F(WizardTest, ShowWizardEntersShowModeInEachMode)
{
    startDevice();
    makeShow({17, 18});
    struct Row {
        const char* what;
        std::vector<int> buttons;  // after the pyro-mode page, one per page
        int pyroLink;
        int showMode;
        int clock;
    };
    const Row rows[] = {
        {"wired, audio clock", {2, 1, 1}, 4, Controller::SHOW_AUDIO_CLOCK, Clock::CLOCK_AUDIO},
        {"channel 3, clock out",
         {1, 3, 1, 2},
         2,
         Controller::SHOW_CLOCK_OUT,
         Clock::CLOCK_CONTROLLER},
        {"channel 1, clock in",
         {1, 1, 1, 3},
         0,
         Controller::SHOW_CLOCK_IN,
         Clock::CLOCK_CONTROLLER},
        {"wired, manual fire skips the clock",
         {2, 2},
         4,
         Controller::SHOW_MANUAL_FIRE,
         Clock::CLOCK_MANUAL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::size_t logStart = device_->logLines().size();
        openShowWizardToPyroMode();
        for (int button : row.buttons) {
            const std::string before = page();
            choose(button);
            EXPECT_EQ(wizard()["choice"], button - 1);
            EXPECT_TRUE(wizard()["ok"]);
            ok();
            EXPECT_NE(page(), before);
        }
        ASSERT_EQ(page(), "SHOW.FINISHED") << wizard().dump();
        EXPECT_EQ(wizard()["okText"], tr(L"GENERIC.FINISH"));
        EXPECT_TRUE(session_->isInShowMode());
        EXPECT_EQ(session_->state().getClockMode(), row.clock);
        EXPECT_EQ(session_->controller().getPyroLink(), row.pyroLink);
        EXPECT_TRUE(
            waitForLog({"\"pyro-link\"", "\"link\":" + std::to_string(row.pyroLink)}, logStart));
        ok();
        EXPECT_FALSE(wizardOpen());
        EXPECT_TRUE(session_->controller().isConnected()) << "a finished wizard ends nothing";
        EXPECT_TRUE(session_->isInShowMode());
        session_->leaveShowMode();
    }
}

// Choosing wireless leaves the pyro link alone until a channel is chosen.
TEST_F(WizardTest, WirelessWaitsForTheChannel)
{
    startDevice();
    makeShow({17});
    openShowWizardToPyroMode();
    const std::size_t before = device_->logLines().size();
    choose(1);
    ok();
    ASSERT_EQ(page(), "SHOW.WIRELESS_OPT");
    EXPECT_FALSE(wizard()["ok"]) << "OK waits for a channel";
    EXPECT_EQ(wizard()["buttons"].size(), 4u);
    EXPECT_FALSE(waitForLog({"\"pyro-link\""}, before, 300));
    choose(4);
    EXPECT_EQ(wizard()["explanation"], tr(L"WIZ.SHOW.WIRELESS_OPT.CHX_EX"));
    EXPECT_TRUE(waitForLog({"\"pyro-link\"", "\"link\":3"}, before));
}

// Cancel (or the close box) on each page the user can leave leaves nothing connected, the
// device disarmed and show mode off.
TEST_F(WizardTest, CancelAtEachPageLeavesNothingConnected)
{
    startDevice();
    makeShow({17});
    struct Row {
        const char* what;
        std::vector<int> buttons;
        const char* page;
        bool closeBox;
    };
    const Row rows[] = {
        {"pyro mode", {}, "SHOW.PYRO_MODE", false},
        {"pyro mode by the close box", {}, "SHOW.PYRO_MODE", true},
        {"channel", {1}, "SHOW.WIRELESS_OPT", false},
        {"firing mode", {2}, "SHOW.MODE", false},
        {"clock source", {2, 1}, "SHOW.CLOCK_SOURCE", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        openShowWizardToPyroMode();
        for (int button : row.buttons) {
            choose(button);
            ok();
        }
        ASSERT_EQ(page(), row.page);
        const std::size_t before = device_->logLines().size();
        if (row.closeBox) {
            run({"wait 0"});
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible() &&
                    top->windowTitle() == QString::fromStdWString(Config::tr(L"WIZ.SHOW.TITLE"))) {
                    top->close();
                }
            }
            run({"wait 0"});
        } else {
            run({"click Wizard/Content/CancelButton"});
        }
        EXPECT_FALSE(wizardOpen());
        EXPECT_FALSE(session_->controller().isConnected());
        EXPECT_FALSE(session_->isInShowMode());
        EXPECT_TRUE(waitForLog({"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""}, before))
            << "no disarm";
        EXPECT_TRUE(window_->getHandle()->isEnabled()) << "the owner has its input back";
    }
}

// The error pages: no device, a show whose check fails (it never connects), and a device that
// stops answering. Their OK closes the wizard with nothing left connected.
TEST_F(WizardTest, ErrorsLandOnTheirPages)
{
    {
        SCOPED_TRACE("no device");
        makeShow({17});
        run({"command 5"});
        ASSERT_EQ(page(), "SHOW.CONNECT_ERROR");
        EXPECT_EQ(wizard()["explanation"], tr(L"ERROR.USB_DEVICE_NOT_CONNECTED"));
        EXPECT_EQ(wizard()["okText"], tr(L"GENERIC.OK"));
        EXPECT_FALSE(failureOf("click Wizard/Content/CancelButton").empty()) << "no Cancel";
        ok();
        EXPECT_FALSE(wizardOpen());
    }
    startDevice();
    {
        SCOPED_TRACE("a cue that cannot fire");
        makeShow({17, 0x1000});
        portSearches_ = 0;
        run({"command 5"});
        ASSERT_EQ(page(), "SHOW.COMPILE_ERROR");
        ASSERT_EQ(session_->project().getCheckFailures().size(), 1u);
        const std::string explanation = wizard()["explanation"];
        EXPECT_FALSE(explanation.empty());
        EXPECT_NE(
            explanation,
            tr(Project::CueFireCheck::problemKey(Project::CueFireCheck::ADDRESS_OUT_OF_RANGE)))
            << "the cue's number is filled in";
        ok();
        EXPECT_FALSE(wizardOpen());
        EXPECT_EQ(portSearches_, 0) << "a failed check never connects";
    }
    {
        SCOPED_TRACE("the device stops answering");
        makeShow({17});
        openShowWizardToPyroMode();
        ASSERT_TRUE(device_->command("silent on"));
        run({"click Wizard/Content/Btn2", "click Wizard/Content/OkButton",
             "click Wizard/Content/Btn2", "click Wizard/Content/OkButton"});
        ASSERT_EQ(page(), "SHOW.CONNECT_ERROR");
        EXPECT_FALSE(wizard()["explanation"].get<std::string>().empty());
        ok();
        EXPECT_FALSE(wizardOpen());
        EXPECT_FALSE(session_->controller().isConnected());
        EXPECT_FALSE(session_->isInShowMode());
    }
}

// The check-only wizard checks and never connects; its OK closes it. A failing check shows
// the reason.
TEST_F(WizardTest, CheckOnlyWizardNeverConnects)
{
    startDevice();
    makeShow({17, 18});
    run({"command 6"});
    EXPECT_EQ(wizard()["kind"], "checkCues");
    ASSERT_EQ(page(), "SHOW.COMPILE_OK");
    EXPECT_EQ(wizard()["okText"], tr(L"GENERIC.OK"));
    EXPECT_FALSE(window_->getHandle()->isEnabled()) << "the owner waits for the wizard";
    ok();
    EXPECT_TRUE(window_->getHandle()->isEnabled());
    EXPECT_FALSE(wizardOpen());
    EXPECT_EQ(portSearches_, 0);
    EXPECT_TRUE(device_->logLines().size() <= 1) << "the device heard nothing";
}

// A new project in each format; the last page's select-audio action runs command 35 (its
// file dialog) and closes the wizard.
TEST_F(WizardTest, NewProjectInEachFormat)
{
    const int formats[] = {SMPTE::SMPTE_24, SMPTE::SMPTE_25, SMPTE::SMPTE_30DF, SMPTE::SMPTE_30};
    for (int button = 1; button <= 4; ++button) {
        SCOPED_TRACE(button);
        run({"command 0"});
        EXPECT_EQ(wizard()["kind"], "newProject");
        ASSERT_EQ(page(), "NEW.START");
        EXPECT_TRUE(wizard()["ok"]);
        ok();
        ASSERT_EQ(page(), "NEW.SMPTE_FORMAT");
        EXPECT_FALSE(wizard()["ok"]);
        choose(button);
        ok();
        ASSERT_EQ(page(), "NEW.FINISHED");
        EXPECT_EQ(session_->project().getProjectData().getFormat(), formats[button - 1]);
        EXPECT_TRUE(session_->project().isProjectOpen());
        EXPECT_TRUE(wizard()["choice"].is_null()) << "select audio is an action";
        if (button == 4) {
            dialogs_.queueFile(L"", true);
            choose(1);
            EXPECT_EQ(dialogs_.unusedFiles(), 0u) << "command 35 asked for a file";
        } else {
            ok();
        }
        EXPECT_FALSE(wizardOpen());
    }
}

// A foreign show that fits every rate asks for one; the choice imports with it.
TEST_F(WizardTest, ForeignShowFormatChoiceImportsWithThatRate)
{
    const std::filesystem::path file = std::filesystem::path(QT_TESTCASE_SOURCEDIR).parent_path() /
                                       "FileIO" / "testdata" / "foreign" / "show-ambiguous.scx";
    dialogs_.queueFile(file.wstring(), false);
    run({"command 2"});
    EXPECT_EQ(wizard()["kind"], "foreignShowFormat");
    ASSERT_EQ(page(), "SCX_FMT.SMPTE_FORMAT");
    EXPECT_EQ(wizard()["buttons"].size(), 4u);
    EXPECT_EQ(wizard()["okText"], tr(L"GENERIC.FINISH"));
    EXPECT_FALSE(wizard()["ok"]);
    choose(3);
    ok();
    EXPECT_FALSE(wizardOpen());
    EXPECT_EQ(session_->project().getProjectData().getFormat(), SMPTE::SMPTE_30DF);
    EXPECT_EQ(session_->project().getProjectData().getCueList().getCount(), 3);
}

// The MIDI wizard: slave and master on the chosen device, none closes the ports, and with no
// device the device page offers no choice and its OK closes.
TEST_F(WizardTest, MidiPages)
{
    run({"command 84", "click Wizard/Content/Btn2"});
    ok();
    ASSERT_EQ(page(), "MIDI.DEVICES");
    EXPECT_EQ(wizard()["buttons"], nlohmann::json({"Out A", "Out B"}));
    choose(2);
    run({"answer ok"});  // the MIDI service says which device it opened
    ok();
    EXPECT_FALSE(wizardOpen());
    EXPECT_EQ(midiDevices_.openOutputs, 1);
    EXPECT_TRUE(session_->midi().isOutputOpen());

    run({"command 84", "click Wizard/Content/Btn1"});
    ok();
    EXPECT_EQ(wizard()["buttons"], nlohmann::json({"In A", "In B"}));
    choose(1);
    run({"answer ok"});
    ok();
    EXPECT_TRUE(session_->midi().isInputOpen());
    EXPECT_FALSE(session_->midi().isOutputOpen()) << "slave closes the output";

    run({"command 84", "click Wizard/Content/Btn3"});
    ok();
    EXPECT_FALSE(wizardOpen()) << "none closes at once";
    EXPECT_FALSE(session_->midi().isInputOpen());

    midiDevices_.inputPorts.clear();
    midiDevices_.outputPorts.clear();
    run({"command 84", "click Wizard/Content/Btn1"});
    ok();
    ASSERT_EQ(page(), "MIDI.DEVICES");
    EXPECT_TRUE(wizard()["buttons"].empty());
    EXPECT_EQ(wizard()["okText"], tr(L"GENERIC.OK"));
    EXPECT_TRUE(wizard()["ok"]);
    ok();
    EXPECT_FALSE(wizardOpen());
    EXPECT_FALSE(session_->midi().isInputOpen());
}

// Each report through the save dialog: the file is written and a PDF opened; a cancelled
// dialog writes nothing and leaves the page as it was.
TEST_F(WizardTest, EachReportIsWritten)
{
    makeShow({17, 18});
    struct Row {
        const char* name;
        std::vector<int> buttons;
        bool pdf;
    };
    const Row rows[] = {
        {"show", {1}, true},
        {"load", {2}, true},
        {"pyro-include", {3, 1}, true},
        {"pyro-exclude", {3, 2}, true},
        {"pyro-overview", {3, 3}, true},
        {"location-include", {4, 1}, true},
        {"location-exclude", {4, 2}, true},
        {"inventory", {5}, true},
        {"csv", {6}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        opened_.clear();
        const std::string file = pathUtf8(std::string(row.name) + (row.pdf ? ".pdf" : ".csv"));
        run({"command 87"});
        ASSERT_EQ(page(), "REPORTS.START");
        EXPECT_EQ(wizard()["buttons"].size(), 6u);
        for (std::size_t n = 0; n < row.buttons.size(); ++n) {
            choose(row.buttons[n]);
            if (n + 1 == row.buttons.size()) {
                dialogs_.queueFile(L"", true);
                const std::string before = page();
                ok();
                EXPECT_EQ(page(), before) << "a cancelled dialog writes nothing";
                dialogs_.queueFile(Platform::fromUtf8(file), false);
            }
            ok();
        }
        ASSERT_EQ(page(), "REPORTS.CSV.SUCCESS");
        std::ifstream in(file, std::ios::binary);
        std::string head(4, '\0');
        ASSERT_TRUE(in.read(head.data(), 4)) << "not written";
        if (row.pdf) {
            EXPECT_EQ(head, "%PDF");
            ASSERT_EQ(opened_.size(), 1u);
            EXPECT_EQ(opened_[0].toLocalFile().toStdString(), file);
        } else {
            EXPECT_NE(head, "%PDF");
            EXPECT_TRUE(opened_.empty());
        }
        ok();
        EXPECT_FALSE(wizardOpen());
    }
}

// A new user's evening: a saved show opened, the show wizard to the simulator with the audio
// clock, armed, played to the end, show mode left. The device fired every cue in order and
// ended disarmed.
TEST_F(WizardTest, NewUsersEvening)
{
    startDevice();
    makeShow({17, 18, 19});
    const std::wstring show = path("evening.fwp");
    ASSERT_TRUE(session_->project().submit(new Project::OperationSaveProject(show)));
    ASSERT_TRUE(session_->project().submit(new Project::OperationNewProject(kFormat)));

    dialogs_.queueFile(show, false);
    run({"command 1"});
    ASSERT_EQ(state()["cueCount"], 3);
    run({
        "command 5",                  // the show wizard: check, connect
        "click Wizard/Content/Btn2",  // wired
        "click Wizard/Content/OkButton",
        "click Wizard/Content/Btn1",  // automatic firing
        "click Wizard/Content/OkButton",
        "click Wizard/Content/Btn1",      // the audio clock
        "click Wizard/Content/OkButton",  // compile, show mode
    });
    ASSERT_EQ(page(), "SHOW.FINISHED") << wizard().dump();
    run({"click Wizard/Content/OkButton", "command 57 1", "command 28"});
    ASSERT_TRUE(state()["showMode"]);
    EXPECT_TRUE(waitForLog({"\"event\":\"arm\"", "\"armed\":true"}));
    std::size_t from = 0;
    for (const int pin : {1, 2, 3}) {
        const auto fired = waitForLog({"\"exec\"", "\"kind\":\"fire\"", "\"result\":\"fired\"",
                                       "\"module\":1", "\"pin\":" + std::to_string(pin)},
                                      from, 8000);
        ASSERT_TRUE(fired) << "pin " << pin << " did not fire after line " << from;
        from = *fired + 1;
    }
    // The exit question, answered OK.
    dialogs_.queueAnswer(Platform::MessageBoxService::Answer::kOk);
    run({"command 5"});
    EXPECT_FALSE(state()["showMode"]);
    const auto disarm = waitForLog({"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""}, from);
    ASSERT_TRUE(disarm) << "no disarm after the last cue";
    EXPECT_FALSE(waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, *disarm, 200))
        << "armed again after the disarm";
    EXPECT_TRUE(waitForLog({"\"event\":\"arm\"", "\"armed\":false"}, from));
    EXPECT_FALSE(session_->controller().isConnected());
}

}  // namespace
}  // namespace GUIMain
