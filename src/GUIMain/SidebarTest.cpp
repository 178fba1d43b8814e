#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "Controller/ShowMode.h"
#include "DeviceSimulator.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/D2DLabel.h"
#include "GUI/D2DPanel.h"
#include "GUI/D2DScrollbar.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "GUIMain/Sidebar.h"
#include "GUIMain/SidebarGrids.h"
#include "Project/CueCommand.h"
#include "Project/Operations/OperationSelection.h"
#include "Timecode/SMPTE.h"

namespace GUIMain {
namespace {

using Answer = Platform::MessageBoxService::Answer;
using Project::CueCommand;
using Strings = std::vector<std::string>;
constexpr int kFormat = SMPTE::SMPTE_25;

class SidebarTest : public Testing::MainWindowTest {
protected:
    void SetUp() override
    {
        Testing::MainWindowTest::SetUp();
        project().getProjectData().setFormat(kFormat);
        project().setFileName(path("show.fwp"), true);
    }
    Project::Project& project() { return session_->project(); }
    Project::CueList& cues() { return project().getProjectData().getCueList(); }
    Project::Cue* add(int frames, const CueCommand& command, int group = 1)
    {
        return cues().add(SMPTE::fromFrameNo(kFormat, frames), command, 0, 0, group, -1, "");
    }
    // Selects exactly these cues, as the cue list does: through an operation.
    void select(std::initializer_list<const Project::Cue*> chosen)
    {
        std::map<int, bool> entries;
        for (auto* cue = cues().first(); cue != cues().end(); cue = cue->getNext()) {
            entries[cue->getId()] = false;
        }
        for (const Project::Cue* cue : chosen) {
            entries[cue->getId()] = true;
        }
        ASSERT_TRUE(project().submit(new Project::OperationSelection(entries)));
        ScriptRunner::drainEvents();
    }
    nlohmann::json sidebar() { return state()["sidebar"]; }
    std::string field(const std::string& name) { return sidebar()["fields"].value(name, "<none>"); }
    Strings panels() { return sidebar()["panels"].get<Strings>(); }
    std::vector<std::wstring> shownTexts()
    {
        std::vector<std::wstring> texts;
        for (const auto& shown : dialogs_.takeShown()) {
            texts.push_back(shown.text);
        }
        return texts;
    }
};

// The panels follow the selection: its kinds of cues decide which edit panels show.
TEST_F(SidebarTest, PanelsFollowTheKindsOfCuesSelected)
{
    Project::Cue* pyro = add(25, CueCommand::pyro(0x011));
    Project::Cue* dmx = add(50, CueCommand::dmx(0, 4, 200));
    Project::Cue* reminder = add(75, CueCommand(CueCommand::TYPE_REMINDER));
    select({});
    EXPECT_EQ(panels(), (Strings{"EditMode", "PrjSettings"}));
    select({reminder});
    EXPECT_EQ(panels(), (Strings{"EditMode", "CueReminder"}));
    select({pyro, dmx});
    EXPECT_EQ(panels(), (Strings{"EditMode", "Cue", "PyroCue", "DMXCue"}));
    select({pyro});
    EXPECT_EQ(panels(), (Strings{"EditMode", "Cue", "PyroCue", "PyroEffect"}));
    select({dmx});
    EXPECT_EQ(panels(), (Strings{"EditMode", "Cue", "DMXCue", "DmxEffect"}));
    // The hidden panels take no room: the DMX panel stands right under the cue panel.
    Sidebar* bar = window_->getSidebar();
    const QRect cue = bar->getPanel(L"Cue")->getHandle()->geometry();
    EXPECT_EQ(bar->getPanel(L"DMXCue")->getHandle()->geometry().top(), cue.bottom() + 1 + 6);
}

// Two groups show "..."; committing "..." changes nothing; values out of range are refused
// with the message and the field shows the current value again.
TEST_F(SidebarTest, DifferingValuesShowDotsAndRefusedValuesChangeNothing)
{
    Project::Cue* a = add(25, CueCommand::pyro(0x011), 2);
    Project::Cue* b = add(50, CueCommand::pyro(0x012), 5);
    select({a, b});
    EXPECT_EQ(field("GroupEdit"), "...");
    const int undoCount = project().getUndoCount();
    run({"type Sidebar/Cue/GroupEdit ...\n"});
    EXPECT_EQ(project().getUndoCount(), undoCount);
    EXPECT_EQ(a->getGroup(), 2);

    select({a});
    for (const auto& [path, text] :
         {std::pair{"Sidebar/Cue/GroupEdit", "0"}, std::pair{"Sidebar/Cue/GroupEdit", "17"},
          std::pair{"Sidebar/PyroCue/AddressEdit", "1000"}}) {
        SCOPED_TRACE(std::string(path) + " " + text);
        dialogs_.queueAnswer(Answer::kOk);
        run({std::string("type ") + path + " " + text + "\n"});
        EXPECT_EQ(shownTexts(), std::vector<std::wstring>{Config::tr(L"WINDOW.INVALID_INPUT_EX")});
    }
    EXPECT_EQ(field("GroupEdit"), "02");
    EXPECT_EQ(field("AddressEdit"), "011");
    EXPECT_EQ(a->getGroup(), 2);
    EXPECT_EQ(a->getCommand().getAddress(), 0x011);
}

// Typed values become operations on every selected cue; a cleared address leaves the pyro
// cues without one.
TEST_F(SidebarTest, TypedValuesApplyToTheSelection)
{
    Project::Cue* a = add(25, CueCommand::pyro(0x011));
    Project::Cue* b = add(50, CueCommand::pyro(0x012));
    select({a, b});
    run({"type Sidebar/Cue/GroupEdit 7\n", "type Sidebar/Cue/GroupEditName Finale\n"});
    select({a, b});  // Enter moved the selection on
    EXPECT_EQ(a->getGroup(), 7);
    EXPECT_EQ(b->getGroup(), 7);
    EXPECT_EQ(field("GroupEdit"), "07");
    // Cleared: the whole text selected and deleted, then Enter.
    run({"type Sidebar/PyroCue/AddressEdit 0"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ScriptRunner::drainEvents();
    EXPECT_EQ(a->getCommand().getAddress(), CueCommand::kNoAddress);
    EXPECT_EQ(b->getCommand().getAddress(), CueCommand::kNoAddress);
    EXPECT_FALSE(a->getCommand().isDefined());
    project().undo();
    EXPECT_EQ(a->getCommand().getAddress(), 0x011);
}

// Enter applies the value and moves on to the next cue in the same field, so that a column
// is typed in one go.
TEST_F(SidebarTest, EnterAppliesAndMovesToTheNextCue)
{
    Project::Cue* a = add(25, CueCommand::pyro(0x011));
    Project::Cue* b = add(50, CueCommand::pyro(0x012));
    Project::Cue* c = add(75, CueCommand::pyro(0x013));
    select({a});
    run({"type Sidebar/Cue/PFTEdit 5\n"});
    EXPECT_EQ(a->getPrefireTime(), 13) << "half a second at 25 frames, rounded";
    EXPECT_TRUE(b->isSelected());
    EXPECT_FALSE(a->isSelected());
    EXPECT_EQ(state()["focus"], "Sidebar/Cue/PFTEditRow/PFTEdit");
    // Typed straight on: the focus stayed in the field.
    QTest::keyClicks(QApplication::focusWidget(), "8");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ScriptRunner::drainEvents();
    EXPECT_EQ(b->getPrefireTime(), 20);
    EXPECT_TRUE(c->isSelected());

    select({c});
    run({"type Sidebar/Cue/TimecodeEdit 00:00:01:10\n"});
    EXPECT_EQ(c->getTimecode().getFrameNo(), 35);
    EXPECT_FALSE(c->isSelected()) << "the selection moved on";
}

// The audio offset field shows the project's offset; a refused text leaves it.
TEST_F(SidebarTest, AudioOffsetIsSetFromItsField)
{
    select({});
    run({"type Sidebar/PrjSettings/AudOffsetEdit 00:00:02:05\n"});
    EXPECT_EQ(project().getProjectData().getAudioOffset().getFrameNo(), 55);
    dialogs_.queueAnswer(Answer::kOk);
    run({"type Sidebar/PrjSettings/AudOffsetEdit 24:00:00:00\n"});
    EXPECT_EQ(shownTexts().size(), 1u);
    EXPECT_EQ(field("AudOffsetEdit"), "00:00:02:05");
}

// The metadata panel sets, renames and removes keys on the selected cues; "~" is refused.
TEST_F(SidebarTest, MetadataPanelEditsTheSelectedCues)
{
    Project::Cue* a = add(25, CueCommand::pyro(0x011));
    Project::Cue* b = add(50, CueCommand::pyro(0x012));
    select({a, b});
    auto* meta = dynamic_cast<GUI::D2DMetadataPanel*>(
        window_->getSidebar()->getPanel(L"PyroEffect")->findByName(L"Metadata"));
    ASSERT_NE(meta, nullptr);
    ASSERT_EQ(meta->getKey(0), L"~DESC");
    meta->getValueEdit(0)->getHandle()->setFocus();
    QTest::keyClicks(meta->getValueEdit(0)->getHandle(), "Peony");
    QTest::keyClick(meta->getValueEdit(0)->getHandle(), Qt::Key_Return);
    ScriptRunner::drainEvents();
    ASSERT_NE(b->getMetadata().valueOf(L"~DESC"), nullptr);
    EXPECT_EQ(*b->getMetadata().valueOf(L"~DESC"), L"Peony");

    // A user key: added through the new-key row, then renamed and removed.
    const int newRow = meta->getRowCount();
    meta->getKeyEdit(newRow)->getHandle()->setFocus();
    QTest::keyClicks(meta->getKeyEdit(newRow)->getHandle(), "Colour");
    QTest::keyClick(meta->getKeyEdit(newRow)->getHandle(), Qt::Key_Return);
    ScriptRunner::drainEvents();
    EXPECT_NE(a->getMetadata().valueOf(L"Colour"), nullptr);
    ASSERT_EQ(meta->getKey(12), L"Colour");
    meta->getKeyEdit(12)->getHandle()->setFocus();
    QTest::keyClick(meta->getKeyEdit(12)->getHandle(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(meta->getKeyEdit(12)->getHandle(), "Hue");
    QTest::keyClick(meta->getKeyEdit(12)->getHandle(), Qt::Key_Return);
    ScriptRunner::drainEvents();
    EXPECT_EQ(a->getMetadata().valueOf(L"Colour"), nullptr);
    EXPECT_NE(a->getMetadata().valueOf(L"Hue"), nullptr);

    dialogs_.queueAnswer(Answer::kOk);
    meta->getValueEdit(12)->getHandle()->setFocus();
    QTest::keyClicks(meta->getValueEdit(12)->getHandle(), "a~b");
    QTest::keyClick(meta->getValueEdit(12)->getHandle(), Qt::Key_Return);
    ScriptRunner::drainEvents();
    EXPECT_EQ(shownTexts(), std::vector<std::wstring>{Config::tr(L"ERROR.INVALID_METADATA_TILDE")});
    EXPECT_EQ(*a->getMetadata().valueOf(L"Hue"), L"");

    meta->getValueEdit(12)->getHandle()->setFocus();
    QTest::keyClick(meta->getValueEdit(12)->getHandle(), Qt::Key_Escape);
    QTest::mouseClick(meta->getRemoveButton(12)->getHandle(), Qt::LeftButton);
    ScriptRunner::drainEvents();
    EXPECT_EQ(a->getMetadata().valueOf(L"Hue"), nullptr);
    EXPECT_EQ(b->getMetadata().valueOf(L"Hue"), nullptr);
}

// In show mode the edit panels go and the show-mode panels come; manual firing only with the
// manual clock. Without a connected, armed device nothing fires and the states read unknown.
TEST_F(SidebarTest, ShowModePanelsFollowTheClockAndFireNothingUnarmed)
{
    using State = Project::ProjectState;
    for (const int clock : {State::CLOCK_AUDIO, State::CLOCK_CONTROLLER, State::CLOCK_MANUAL}) {
        SCOPED_TRACE(clock);
        session_->state().enterShowMode(clock);
        ScriptRunner::drainEvents();
        if (clock == State::CLOCK_MANUAL) {
            EXPECT_EQ(panels(), (Strings{"ShowMode", "ManualFire", "DMX_manual", "Check"}));
        } else {
            EXPECT_EQ(panels(), (Strings{"ShowMode", "DMX_manual", "Check"}));
        }
        session_->state().exitShowMode();
        ScriptRunner::drainEvents();
        EXPECT_EQ(panels(), (Strings{"EditMode", "PrjSettings"}));
    }
    session_->state().enterShowMode(State::CLOCK_MANUAL);
    ScriptRunner::drainEvents();
    EXPECT_FALSE(window_->getSidebar()->firingAllowed());
    EXPECT_NE(failureOf("click Sidebar/ManualFire/Group1"), "");
    EXPECT_NE(failureOf("click Sidebar/DMX_manual/ManualSetBtn"), "");
    auto* label = dynamic_cast<GUI::D2DLabel*>(
        window_->getSidebar()->getPanel(L"ShowMode")->findByName(L"PyroStateLbl"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getText(), Config::tr(L"SIDEBAR.SHOW_MODE.PYRO_STATE.UNKNOWN"));
    // The channel field takes 1 to 512.
    dialogs_.queueAnswer(Answer::kOk);
    run({"type Sidebar/DMX_manual/Channel 513\n"});
    EXPECT_EQ(shownTexts().size(), 1u);
    run({"type Sidebar/DMX_manual/Channel 12\n"});
    EXPECT_EQ(window_->getSidebar()->getManualChannel(), 11);
    EXPECT_EQ(field("Channel"), "12");
    // The grid: cell n is channel n (13 pixels a column); hovering another cell shows both.
    QWidget* grid = window_->getSidebar()
                        ->getPanel(L"DMX_manual")
                        ->getHandle()
                        ->findChild<QWidget*>(QStringLiteral("Grid"));
    ASSERT_NE(grid, nullptr);
    GUI::Message move;
    move.code = GUI::kMessageMouseMove;
    move.position = QPoint(1 + 3 * 13 + 6, 7);
    GUI::Component::send(grid, move);
    EXPECT_EQ(field("Channel"), "12 \u2192 3");
    GUI::Message leave;
    leave.code = GUI::kMessageMouseLeave;
    GUI::Component::send(grid, leave);
    EXPECT_EQ(field("Channel"), "12");
    run({"click Sidebar/DMX_manual/Grid 46 7"});
    EXPECT_EQ(window_->getSidebar()->getManualChannel(), 2);
    EXPECT_EQ(field("Channel"), "3");
    session_->state().exitShowMode();
}

// The wheel moves the panels 20 pixels a notch; a field that takes the focus is scrolled
// into view with 6 pixels to spare.
TEST_F(SidebarTest, WheelAndFocusScrollThePanels)
{
    session_->state().enterShowMode(Project::ProjectState::CLOCK_MANUAL);
    ScriptRunner::drainEvents();
    GUI::D2DScrollbar* scrollbar = window_->getSidebar()->getScrollbar();
    ASSERT_GT(scrollbar->getTotal(), scrollbar->getPage()) << "the panels are longer than the view";
    run({"wheel Sidebar -240"});
    EXPECT_EQ(scrollbar->getPosition(), 40) << "trunc(-240 / 120 x -20 + 0.5)";
    run({"wheel Sidebar 120"});
    EXPECT_EQ(scrollbar->getPosition(), 21) << "trunc(-20 + 0.5) is -19";

    run({"type Sidebar/DMX_manual/Channel 7"});
    QWidget* sidebar = window_->getSidebar()->getHandle();
    QWidget* channel = sidebar->findChild<QWidget*>(QStringLiteral("Channel"));
    ASSERT_NE(channel, nullptr);
    const QRect shown(channel->mapTo(sidebar, QPoint(0, 0)), channel->size());
    EXPECT_GE(shown.top(), 6);
    EXPECT_LE(shown.bottom(), sidebar->height() - 6);
    session_->state().exitShowMode();
}

// A firing button acts once per press: the key repeats of a held Enter or Space are dropped.
TEST_F(SidebarTest, AHeldKeyFiresOnce)
{
    struct Counter : GUI::D2DButton::Listener {
        int clicks = 0;
        void clicked(GUI::D2DButton*) override { ++clicks; }
    } counter;
    QWidget* handle =
        window_->getSidebar()->getHandle()->findChild<QWidget*>(QStringLiteral("Group3"));
    ASSERT_NE(handle, nullptr);
    auto* button = dynamic_cast<GUI::D2DButton*>(GUI::Component::fromHandle(handle));
    ASSERT_NE(button, nullptr);
    button->setEnabled(true);
    button->addListener(&counter);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        counter.clicks = 0;
        const auto send = [&](QEvent::Type type, bool repeat) {
            GUI::Message message;
            message.code = type == QEvent::KeyPress ? GUI::kMessageKeyDown : GUI::kMessageKeyUp;
            message.key = key;
            message.autoRepeat = repeat;
            GUI::Component::send(handle, message);
        };
        send(QEvent::KeyPress, false);
        for (int i = 0; i < 3; ++i) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        send(QEvent::KeyRelease, false);
        EXPECT_EQ(counter.clicks, 1) << "key " << key;
    }
    button->removeListener(&counter);
}

// The whole path against the device simulator: show mode through the session, arm from the
// toggle, fire a group by hand, set a DMX channel by hand, leave; the device saw every word
// and ended disarmed.
class SidebarDeviceTest : public SidebarTest {
protected:
    void SetUp() override
    {
        // Module 1 has igniters on pins 1 and 2, the pins of the cues.
        ASSERT_TRUE(device_.start({"--module", "1=0x0006"})) << device_.error();
        controllerPorts_ = [this] { return std::vector<std::string>{device_.portPath()}; };
        SidebarTest::SetUp();
    }
    void TearDown() override
    {
        SidebarTest::TearDown();
        device_.stop();
    }
    // Pumps the window's events until the condition holds (five seconds at most).
    bool waitFor(const std::function<bool()>& condition)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            ScriptRunner::drainEvents();
            QTest::qWait(10);
        }
        return true;
    }
    bool logged(const std::vector<std::string>& fragments, std::size_t from = 0)
    {
        return waitFor([&] { return device_.waitForLog(fragments, 0, from).has_value(); });
    }
    ::Testing::DeviceSimulator device_;
};

TEST_F(SidebarDeviceTest, ArmFireAGroupSetADmxChannelAndLeave)
{
    add(25, CueCommand::pyro(0x011), 1);
    add(50, CueCommand::pyro(0x012), 1);
    ASSERT_TRUE(session_->connect());
    ASSERT_TRUE(session_->enterShowMode(Controller::SHOW_MANUAL_FIRE));
    ScriptRunner::drainEvents();
    EXPECT_EQ(panels(), (Strings{"ShowMode", "ManualFire", "DMX_manual", "Check"}));
    Sidebar* bar = window_->getSidebar();
    EXPECT_FALSE(bar->firingAllowed());
    EXPECT_NE(failureOf("click Sidebar/ManualFire/Group1"), "") << "not armed yet";

    run({"click Sidebar/Check/Grid 18 6"});  // column 1 of the first row: module 1
    EXPECT_EQ(bar->getSelectedModule(), 1);
    run({"click Sidebar/ShowMode/CheckBtn"});
    ASSERT_TRUE(logged({"\"event\":\"arm\"", "\"armed\":true"}));
    ASSERT_TRUE(waitFor([&] { return bar->firingAllowed(); })) << "the device reported no arm";
    auto* pyroLabel =
        dynamic_cast<GUI::D2DLabel*>(bar->getPanel(L"ShowMode")->findByName(L"PyroStateLbl"));
    EXPECT_EQ(pyroLabel->getText(), Config::tr(L"SIDEBAR.SHOW_MODE.PYRO_STATE.ARMED"));

    // Check now asks module 1; its report draws its cell (every pin the cues use answers).
    const std::size_t beforeCheck = device_.logLines().size();
    run({"click Sidebar/Check/CheckBtn"});
    EXPECT_TRUE(logged({"\"rx\"", "\"code\":\"0x20\""}, beforeCheck));
    EXPECT_TRUE(waitFor([&] {
        return moduleMarkOf(session_->controller().getModuleState(1)) == ModuleMark::kGood;
    }));
    EXPECT_EQ(moduleMarkOf(session_->controller().getModuleState(2)), ModuleMark::kNotReported);

    const std::size_t beforeGroup = device_.logLines().size();
    run({"click Sidebar/ManualFire/Group1"});
    ASSERT_TRUE(logged({"\"rx\"", "\"code\":\"0x12\""}, beforeGroup));
    device_.command("step");
    EXPECT_TRUE(logged({"\"exec\"", "0x80000101", "\"result\":\"fired\""}));

    run({"type Sidebar/DMX_manual/Channel 5\n", "type Sidebar/DMX_manual/ManualValue 200\n"});
    EXPECT_TRUE(logged({"\"exec\"", "0x910004C8"}));
    run({"click Sidebar/DMX_manual/ManualResetBtn"});
    EXPECT_TRUE(logged({"\"exec\"", "0x91000400"}));

    const std::size_t beforeExit = device_.logLines().size();
    dialogs_.queueAnswer(Answer::kOk);
    run({"click Sidebar/ShowMode/ExitBtn"});
    EXPECT_TRUE(logged({"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""}, beforeExit))
        << "no disarm at the end";
    EXPECT_FALSE(session_->isInShowMode());
    EXPECT_EQ(panels(), (Strings{"EditMode", "PrjSettings"}));
}

// Losing the link shows at once: the states read unknown and the firing controls go dead.
TEST_F(SidebarDeviceTest, ALostConnectionShowsAtOnce)
{
    add(25, CueCommand::pyro(0x011), 1);
    ASSERT_TRUE(session_->connect());
    ASSERT_TRUE(session_->enterShowMode(Controller::SHOW_MANUAL_FIRE));
    ASSERT_TRUE(session_->arm(1));
    Sidebar* bar = window_->getSidebar();
    ASSERT_TRUE(waitFor([&] { return bar->firingAllowed(); }));
    device_.stop();
    ASSERT_TRUE(waitFor([&] { return !session_->controller().isConnected(); }));
    ScriptRunner::drainEvents();
    auto* label =
        dynamic_cast<GUI::D2DLabel*>(bar->getPanel(L"ShowMode")->findByName(L"PyroStateLbl"));
    EXPECT_EQ(label->getText(), Config::tr(L"SIDEBAR.SHOW_MODE.PYRO_STATE.UNKNOWN"));
    EXPECT_FALSE(bar->firingAllowed());
    EXPECT_NE(failureOf("click Sidebar/ManualFire/Group1"), "");
}

}  // namespace
}  // namespace GUIMain
