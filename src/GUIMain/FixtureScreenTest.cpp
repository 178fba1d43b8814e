#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <utility>

#include "GUIMain/DmxChannelValueListView.h"
#include "GUIMain/FixtureListView.h"
#include "GUIMain/FixtureScreen.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationAddFixture.h"
#include "Project/Operations/OperationNewProject.h"

namespace GUIMain {
namespace {

using Answer = Platform::MessageBoxService::Answer;

class FixtureScreenTest : public Testing::MainWindowWithUserFolderTest {
protected:
    Project::Project& project() { return session_->project(); }
    Project::ProjectData& data() { return project().getProjectData(); }
    FixtureScreen* screen() { return dynamic_cast<FixtureScreen*>(window_->getFixtureScreen()); }

    // A preset with `channels` channel values, channel k at level 10 * k.
    Project::Fixture* addPreset(const std::wstring& description, int channelCount, int channels,
                                int durationMs = 0)
    {
        EXPECT_TRUE(project().submit(new Project::OperationAddFixture(
            description, L"Maker", L"Product " + description, channelCount, L"", durationMs)));
        Project::Fixture* fixture = data().getFixtureStore().back().get();
        for (int k = 1; k <= channels; ++k) {
            fixture->addChannel(static_cast<uint16_t>(k), static_cast<uint8_t>(10 * k), 0, false,
                                false, false, -1);
        }
        return fixture;
    }

    void clickRow(QTableView* table, int row, bool control = false)
    {
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton,
                          control ? Qt::ControlModifier : Qt::NoModifier, cell.center());
    }

    bool typeIntoCell(QTableView* table, int row, int column, const QVariant& value,
                      int role = Qt::EditRole)
    {
        QAbstractItemModel* model = table->model();
        return model->setData(model->index(row, column), value, role);
    }

    // One selected DMX cue in a new project.
    const Project::Cue* makeDmxCue()
    {
        EXPECT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
        EXPECT_TRUE(project().submit(new Project::OperationAddDMXCue(
            SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 0), SMPTE(SMPTE::SMPTE_25, 0, 0, 2, 0))));
        // The new cue is the selected one.
        EXPECT_EQ(state()["selected"].size(), 1u);
        return data().getCueList().first();
    }

    // Each step of the cue as (channel, value) pairs.
    static std::vector<std::vector<std::pair<int, int>>> steps(const Project::Cue& cue)
    {
        std::vector<std::vector<std::pair<int, int>>> all;
        for (const Project::DmxStep& step : cue.getDmxSteps()) {
            std::vector<std::pair<int, int>> values;
            for (const Project::DmxChannelValue& value : step) {
                values.emplace_back(value.getChannel(), value.getValue());
            }
            all.push_back(values);
        }
        return all;
    }
};

TEST_F(FixtureScreenTest, PresetsAndTheirChannelsAreKeptSideBySide)
{
    run({"command 103", "click FixtureScreen/AddFixture"});
    ASSERT_NE(screen(), nullptr);
    EXPECT_EQ(state()["fixtures"]["count"], 1);
    // The new preset is selected, so its channels are shown beside it.
    const Project::Fixture* fixture = data().getFixtureStore().front().get();
    EXPECT_EQ(state()["fixtures"]["selected"], nlohmann::json::array({fixture->getId()}));
    EXPECT_EQ(state()["fixtures"]["channels"]["fixture"], fixture->getId());

    QTableView* presets = screen()->getFixtureView()->table();
    ASSERT_TRUE(typeIntoCell(presets, 0, 0, QStringLiteral("Flame unit")));
    ASSERT_TRUE(typeIntoCell(presets, 0, 3, QStringLiteral("3")));
    ASSERT_TRUE(typeIntoCell(presets, 0, 4, QStringLiteral("2500")));
    EXPECT_EQ(fixture->getDescription(), L"Flame unit");
    EXPECT_EQ(fixture->getChannelCount(), 3);
    EXPECT_EQ(fixture->getDuration(), 2500);
    ASSERT_TRUE(project().undo());
    EXPECT_EQ(fixture->getDuration(), 0);
    ASSERT_TRUE(project().redo());
    dialogs_.queueAnswer(Answer::kOk);
    EXPECT_FALSE(typeIntoCell(presets, 0, 3, QStringLiteral("600")));
    EXPECT_EQ(dialogs_.takeShown().at(0).text, Config::tr(L"FIXTURES.EDIT.CHANNEL_COUNT"));

    run({"click FixtureScreen/AddChannel", "click FixtureScreen/AddChannel"});
    EXPECT_EQ(state()["fixtures"]["channels"]["count"], 2);
    QTableView* channels = screen()->getChannelView()->table();
    ASSERT_TRUE(typeIntoCell(channels, 1, DmxChannelValueListView::kValue, QStringLiteral("128")));
    ASSERT_TRUE(typeIntoCell(channels, 1, DmxChannelValueListView::kSafety, Qt::Checked,
                             Qt::CheckStateRole));
    const Project::Fixture::ChannelItem* second = fixture->getFirstChannel()->getNext();
    EXPECT_EQ(second->getChannel(), 2);
    EXPECT_EQ(second->getValue(), 128);
    EXPECT_TRUE(second->isSafety());
    EXPECT_TRUE(second->isDynamic());
    for (const char* refused : {"4", "0", "x"}) {
        dialogs_.queueAnswer(Answer::kOk);
        EXPECT_FALSE(typeIntoCell(channels, 0, DmxChannelValueListView::kChannel,
                                  QString::fromLatin1(refused)));
    }
    dialogs_.queueAnswer(Answer::kOk);
    EXPECT_FALSE(typeIntoCell(channels, 0, DmxChannelValueListView::kValue, QStringLiteral("256")));
    EXPECT_EQ(dialogs_.takeShown().size(), 4u);
    // Channel 2 is selected by its edit: Delete Channels removes it alone.
    run({"click FixtureScreen/DeleteChannels"});
    EXPECT_EQ(fixture->getCount(), 1);

    // The fixture search narrows the list as the user types.
    run({"type FixtureScreen/Search.description flame",
         "type FixtureScreen/Search.duration >3000"});
    EXPECT_EQ(state()["fixtures"]["visible"], 0);
    run({"type FixtureScreen/Search.duration <3000"});
    EXPECT_EQ(state()["fixtures"]["visible"], 1);

    run({"command 105"});
    EXPECT_EQ(state()["fixtures"]["count"], 0);
    ASSERT_TRUE(project().undo());
    EXPECT_EQ(state()["fixtures"]["count"], 1);
}

TEST_F(FixtureScreenTest, TheFormOffersThePatchModesThatFitTheSelection)
{
    makeDmxCue();
    addPreset(L"A", 2, 2);
    addPreset(L"B", 4, 1);
    run({"command 117"});
    ASSERT_NE(screen(), nullptr);
    QTableView* presets = screen()->getFixtureView()->table();
    auto enabled = [this](const char* name) {
        auto* radio = screen()->getHandle()->findChild<QRadioButton*>(QString::fromLatin1(name));
        return radio != nullptr && radio->isEnabled();
    };
    auto checked = [this](const char* name) {
        auto* radio = screen()->getHandle()->findChild<QRadioButton*>(QString::fromLatin1(name));
        return radio != nullptr && radio->isChecked();
    };
    clickRow(presets, 0);
    run({"type FixtureScreen/DeviceCount 3"});
    EXPECT_TRUE(checked("Patch.SAME"));
    EXPECT_TRUE(enabled("Patch.ODD"));
    EXPECT_FALSE(enabled("Patch.LEFT"));  // odd device count
    EXPECT_FALSE(enabled("Patch.ALTERNATE"));
    EXPECT_FALSE(enabled("Location.OWN.SCENE"));
    run({"click FixtureScreen/Patch.ODD", "type FixtureScreen/DeviceCount 1"});
    EXPECT_TRUE(checked("Patch.SAME"));  // ODD is gone and does not come back
    run({"type FixtureScreen/DeviceCount 2"});
    EXPECT_TRUE(checked("Patch.SAME"));
    EXPECT_FALSE(screen()->getHandle()->findChild<QLineEdit*>("ManualList")->isEnabled());

    clickRow(presets, 1, true);
    EXPECT_TRUE(enabled("Patch.ALTERNATE"));
    EXPECT_TRUE(enabled("Patch.LEFTRIGHT"));
    EXPECT_FALSE(enabled("Patch.ODD"));
    // Several fixtures in a list mode: own scene is forced, the others are off.
    EXPECT_TRUE(checked("Location.OWN.SCENE"));
    EXPECT_FALSE(enabled("Location.SCENE"));
    run({"click FixtureScreen/Patch.ALTERNATE"});
    EXPECT_TRUE(checked("Location.SCENE"));
    EXPECT_FALSE(enabled("Location.OWN.SCENE"));
}

TEST_F(FixtureScreenTest, EachPatchModeAndPlaceThroughTheForm)
{
    struct Case {
        const char* name;
        std::vector<int> order;  // rows clicked, first selected first (A is row 0, B row 1)
        std::string start;
        std::string devices;
        const char* mode;
        const char* location;
        std::string manual;
        std::vector<std::vector<std::pair<int, int>>> steps;
        int nextAddress;
        int dmxDuration;
    };
    // A: 2 channels of a 2-channel device, 300 ms; B: 1 value in a 4-channel device, 500 ms.
    const std::vector<Case> cases = {
        {"alternate",
         {1, 0},
         "10",
         "3",
         "Patch.ALTERNATE",
         "Location.SCENE",
         "",
         {{{10, 10}, {14, 10}, {15, 20}, {16, 10}}},
         20,
         500},
        {"odd",
         {0},
         "1",
         "4",
         "Patch.ODD",
         "Location.SCENE",
         "",
         {{{1, 10}, {2, 20}, {5, 10}, {6, 20}}},
         7,
         300},
        {"even",
         {0},
         "1",
         "4",
         "Patch.EVEN",
         "Location.SCENE",
         "",
         {{{3, 10}, {4, 20}, {7, 10}, {8, 20}}},
         9,
         300},
        {"left", {1}, "1", "4", "Patch.LEFT", "Location.SCENE", "", {{{1, 10}, {5, 10}}}, 9, 500},
        {"right",
         {1},
         "1",
         "4",
         "Patch.RIGHT",
         "Location.SCENE",
         "",
         {{{9, 10}, {13, 10}}},
         17,
         500},
        {"left and right",
         {0, 1},
         "1",
         "2",
         "Patch.LEFTRIGHT",
         "Location.SCENE",
         "",
         {{{1, 10}, {2, 20}, {3, 10}}},
         7,
         500},
        {"manual",
         {0},
         "100",
         "0",
         "Patch.MANUALENTRY",
         "Location.SCENE",
         "3,1",
         {{{104, 10}, {105, 20}, {100, 10}, {101, 20}}},
         102,
         300},
        {"chase",
         {1},
         "1",
         "3",
         "Patch.SAME",
         "Location.CHASE",
         "",
         {{{1, 10}}, {{5, 10}}, {{9, 10}}},
         13,
         1500},
        {"reset", {1}, "1", "2", "Patch.SAME", "Location.RESET", "", {{{1, 10}, {5, 10}}}, 9, 500},
        {"own scene",
         {0, 1},
         "1",
         "2",
         "Patch.SAME",
         "Location.OWN.SCENE",
         "",
         {{{1, 10}, {2, 20}, {3, 10}, {4, 20}}, {{1, 10}, {5, 10}}},
         9,
         800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Project::Cue* cue = makeDmxCue();
        data().setCurrentFixture(nullptr);
        data().getFixtureList().clear();
        data().getFixtureStore().clear();
        addPreset(L"A", 2, 2, 300);
        addPreset(L"B", 4, 1, 500);
        run({"command 117"});
        ASSERT_NE(screen(), nullptr);
        QTableView* presets = screen()->getFixtureView()->table();
        for (std::size_t i = 0; i < c.order.size(); ++i) {
            clickRow(presets, c.order[i], i > 0);
        }
        run({"type FixtureScreen/StartAddress " + c.start,
             "type FixtureScreen/DeviceCount " + c.devices});
        if (!c.manual.empty()) {
            run({std::string("click FixtureScreen/") + c.mode,
                 "type FixtureScreen/ManualList " + c.manual});
        }
        run({std::string("click FixtureScreen/") + c.mode,
             std::string("click FixtureScreen/") + c.location, "click FixtureScreen/Patch"});
        EXPECT_EQ(state()["windows"], nlohmann::json::array({"Skyfirewright"}));
        EXPECT_EQ(steps(*cue), c.steps);
        EXPECT_EQ(cue->getNextAddress(), c.nextAddress);
        EXPECT_EQ(cue->getDmxDuration(), c.dmxDuration);
        // The patch is one step of the history.
        ASSERT_TRUE(project().undo());
        EXPECT_TRUE(cue->getDmxSteps().empty() || steps(*cue) != c.steps);
    }
}

TEST_F(FixtureScreenTest, AStartAddressOutsideTheUniverseIsRefused)
{
    const Project::Cue* cue = makeDmxCue();
    addPreset(L"A", 2, 2);
    run({"command 117"});
    clickRow(screen()->getFixtureView()->table(), 0);
    run({"type FixtureScreen/StartAddress 0", "answer ok", "click FixtureScreen/Patch"});
    EXPECT_EQ(dialogs_.takeShown().at(0).text, Config::tr(L"FIXTURES.PATCH.START_ADDRESS_RANGE"));
    EXPECT_TRUE(cue->getDmxSteps().empty());
    EXPECT_NE(screen(), nullptr);
}

}  // namespace
}  // namespace GUIMain
