#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <fstream>
#include <iterator>

#include "GUIMain/EffectListView.h"
#include "GUIMain/EffectScreen.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationNewProject.h"

namespace GUIMain {
namespace {

using Answer = Platform::MessageBoxService::Answer;
using Project::EffectField;

class EffectScreenTest : public Testing::MainWindowWithUserFolderTest {
protected:
    Project::Project& project() { return session_->project(); }
    Project::EffectList& library() { return project().getProjectData().getEffectList(); }

    void addEffect(const std::wstring& description, const std::wstring& duration,
                   const std::wstring& price)
    {
        Project::EffectTexts texts;
        texts[0] = description;
        texts[2] = duration;
        texts[4] = price;
        library().addEffectFromText(texts);
    }

    EffectScreen* screen() { return dynamic_cast<EffectScreen*>(window_->getEffectScreen()); }
    EffectListView* view() { return screen()->getListView(); }

    const Project::Effect* byDescription(const std::wstring& description)
    {
        const Project::Effect* found = nullptr;
        int count = 0;
        for (const Project::EffectList::EffectItem* effect : library()) {
            if (effect->getDescription() == description) {
                found = effect;
                ++count;
            }
        }
        return count == 1 ? found : nullptr;
    }

    int rowOf(const std::wstring& description)
    {
        for (int row = 0; row < view()->visibleCount(); ++row) {
            if (view()->effectAt(row)->getDescription() == description) {
                return row;
            }
        }
        return -1;
    }

    void clickRow(int row)
    {
        const QRect cell = view()->table()->visualRect(view()->table()->model()->index(row, 0));
        QTest::mouseClick(view()->table()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Types into a cell the way the table's editor hands the value over.
    bool typeIntoCell(int row, EffectField field, const std::string& text)
    {
        QAbstractItemModel* model = view()->table()->model();
        return model->setData(model->index(row, static_cast<int>(field)),
                              QString::fromStdString(text), Qt::EditRole);
    }
};

TEST_F(EffectScreenTest, EveryFieldIsEditedInPlaceUndoneAndRedone)
{
    addEffect(L"Red peony", L"4", L"12.5");
    addEffect(L"Gold willow", L"6", L"24");
    run({"command 85"});
    ASSERT_NE(screen(), nullptr);
    EXPECT_EQ(state()["windows"].size(), 2u);

    struct Case {
        EffectField field;
        std::string typed;
        std::wstring stored;  // the field as text afterwards
    };
    const std::vector<Case> cases = {
        {EffectField::DESCRIPTION, "Blue peony", L"Blue peony"},
        {EffectField::ARTICLE_NUMBER, "P-100", L"P-100"},
        {EffectField::DURATION, " 7 ", L"7"},
        {EffectField::CALIBER, "75", L"75"},
        {EffectField::PRICE, "13,75", L"13.750000"},
        {EffectField::MANUFACTURER, "Vulcan", L"Vulcan"},
        {EffectField::PREFIRE, "1200", L"1200"},
        {EffectField::HEIGHT, "80", L"80"},
        {EffectField::COLOR, "blue", L"blue"},
        {EffectField::TYPE, "shell", L"shell"},
        {EffectField::ANGLE, "90", L"90"},
        {EffectField::VAN_SHAPE, "fan", L"fan"},
        {EffectField::CLASSIFICATION, "1.3G", L"1.3G"},
        {EffectField::WEIGHT, "180", L"180"},
        {EffectField::DISTANCE, "75", L"75"},
    };
    const Project::Effect* effect = byDescription(L"Red peony");
    ASSERT_NE(effect, nullptr);
    const int id = effect->getId();
    for (const Case& c : cases) {
        const std::wstring before = effect->getFieldText(c.field);
        ASSERT_TRUE(typeIntoCell(rowOf(effect->getDescription()), c.field, c.typed)) << c.typed;
        EXPECT_EQ(effect->getFieldText(c.field), c.stored) << c.typed;
        ASSERT_TRUE(project().undo());
        EXPECT_EQ(effect->getFieldText(c.field), before) << c.typed;
        ASSERT_TRUE(project().redo());
        EXPECT_EQ(effect->getFieldText(c.field), c.stored) << c.typed;
    }
    EXPECT_EQ(effect->getId(), id);
    EXPECT_EQ(effect->getDatabaseId(), Project::Effect::kDatabaseIdEdited);
    // The edited effect was made the only selected one, and the other was left alone.
    EXPECT_EQ(state()["effects"]["selected"], nlohmann::json::array({id}));
    EXPECT_DOUBLE_EQ(byDescription(L"Gold willow")->getPrice(), 24.0);
    // The table shows the price with two decimals.
    EXPECT_EQ(view()->table()->model()->index(rowOf(L"Blue peony"), 4).data().toString(),
              QStringLiteral("13.75"));
}

TEST_F(EffectScreenTest, RefusedValuesAreExplainedAndChangeNothing)
{
    addEffect(L"Red peony", L"4", L"12.5");
    addEffect(L"Gold willow", L"6", L"24");
    run({"command 85"});
    const int undoBefore = project().getUndoCount();
    struct Case {
        EffectField field;
        std::string typed;
        const wchar_t* reason;
    };
    const std::vector<Case> cases = {
        {EffectField::DURATION, "five", L"EFFECTS.EDIT.WHOLE_NUMBER"},
        {EffectField::DURATION, "-3", L"EFFECTS.EDIT.WHOLE_NUMBER"},
        {EffectField::HEIGHT, "80 m", L"EFFECTS.EDIT.WHOLE_NUMBER"},
        {EffectField::PRICE, "12.5.0", L"EFFECTS.EDIT.PRICE"},
        {EffectField::PRICE, "€12", L"EFFECTS.EDIT.PRICE"},
        // Would make it equal to the other effect under the duplicate rule.
        {EffectField::DESCRIPTION, "Gold willow", L"EFFECTS.EDIT.DUPLICATE"},
    };
    // Gold willow differs from Red peony in duration and price too: align them first.
    ASSERT_TRUE(typeIntoCell(rowOf(L"Red peony"), EffectField::DURATION, "6"));
    ASSERT_TRUE(typeIntoCell(rowOf(L"Red peony"), EffectField::PRICE, "24"));
    const int undoAligned = project().getUndoCount();
    EXPECT_EQ(undoAligned, undoBefore + 2);
    for (const Case& c : cases) {
        dialogs_.queueAnswer(Answer::kOk);
        EXPECT_FALSE(typeIntoCell(rowOf(L"Red peony"), c.field, c.typed)) << c.typed;
        const auto shown = dialogs_.takeShown();
        ASSERT_EQ(shown.size(), 1u) << c.typed;
        EXPECT_EQ(shown[0].text, Config::tr(c.reason)) << c.typed;
    }
    EXPECT_EQ(project().getUndoCount(), undoAligned);
    EXPECT_NE(byDescription(L"Red peony"), nullptr);
    EXPECT_EQ(byDescription(L"Red peony")->getDuration(), 6);
}

TEST_F(EffectScreenTest, TheSearchNarrowsAsTheUserTypesAndClearingRestoresTheLibraryOnce)
{
    addEffect(L"Red peony", L"4", L"12.5");
    addEffect(L"Red comet", L"2", L"3");
    addEffect(L"Gold willow", L"6", L"24");
    addEffect(L"Blue mine", L"5", L"5.10");
    run({"command 85", "type EffectScreen/Search.duration <5"});
    EXPECT_EQ(state()["effects"]["visible"], 2);
    EXPECT_EQ(state()["effects"]["count"], 4);
    run({"type EffectScreen/Search.duration >4"});
    EXPECT_EQ(state()["effects"]["visible"], 2);  // willow and mine
    run({"type EffectScreen/Search.duration <>5"});
    EXPECT_EQ(state()["effects"]["visible"], 1);  // both signs: equal
    view()->searchField(EffectField::DURATION)->clear();
    run({"type EffectScreen/Search.price <12.9"});
    EXPECT_EQ(state()["effects"]["visible"], 2);  // truncated to 12: below 12
    run({"type EffectScreen/Search.price <5", "type EffectScreen/Search.description RED"});
    ASSERT_EQ(state()["effects"]["visible"], 1);
    EXPECT_EQ(view()->effectAt(0)->getDescription(), L"Red comet");

    // An effect edited during the search stays in view, and comes back once, edited.
    ASSERT_TRUE(typeIntoCell(0, EffectField::DESCRIPTION, "Green comet"));
    EXPECT_EQ(view()->visibleCount(), 1);
    view()->searchField(EffectField::PRICE)->clear();
    view()->searchField(EffectField::DESCRIPTION)->clear();
    view()->searchField(EffectField::DURATION)->clear();
    EXPECT_EQ(state()["effects"]["visible"], 4);
    EXPECT_EQ(library().getCount(), 4);
    EXPECT_NE(byDescription(L"Green comet"), nullptr);
    EXPECT_EQ(byDescription(L"Red comet"), nullptr);
    // The edit is still one step of the history.
    ASSERT_TRUE(project().undo());
    EXPECT_NE(byDescription(L"Red comet"), nullptr);
}

TEST_F(EffectScreenTest, SortingByAColumnAndSteppingTheSelectionFollowTheShownOrder)
{
    addEffect(L"b", L"4", L"12.5");
    addEffect(L"C", L"2", L"3");
    addEffect(L"a", L"6", L"24");
    run({"command 85"});
    auto descriptions = [this] {
        std::vector<std::wstring> all;
        for (int row = 0; row < view()->visibleCount(); ++row) {
            all.push_back(view()->effectAt(row)->getDescription());
        }
        return all;
    };
    view()->table()->horizontalHeader()->setSortIndicator(4, Qt::DescendingOrder);
    EXPECT_EQ(descriptions(), (std::vector<std::wstring>{L"a", L"b", L"C"}));
    view()->table()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    EXPECT_EQ(descriptions(), (std::vector<std::wstring>{L"a", L"b", L"C"}));
    view()->table()->horizontalHeader()->setSortIndicator(2, Qt::AscendingOrder);
    EXPECT_EQ(descriptions(), (std::vector<std::wstring>{L"C", L"b", L"a"}));

    // Clicking a row selects it in the library; command 97 steps the selection down the
    // shown order.
    clickRow(0);
    EXPECT_EQ(state()["effects"]["selected"],
              nlohmann::json::array({byDescription(L"C")->getId()}));
    run({"command 97"});
    EXPECT_EQ(state()["effects"]["selected"],
              nlohmann::json::array({byDescription(L"b")->getId()}));
    EXPECT_TRUE(view()->table()->selectionModel()->isRowSelected(1, QModelIndex()));
    EXPECT_FALSE(view()->table()->selectionModel()->isRowSelected(0, QModelIndex()));
}

TEST_F(EffectScreenTest, AddAndDeleteAreUndoable)
{
    addEffect(L"Red peony", L"4", L"12.5");
    run({"command 85", "click EffectScreen/Add"});
    // The new effect is selected and its description is being typed.
    ASSERT_EQ(library().getCount(), 2);
    const Project::Effect* added = byDescription(Config::tr(L"EFFECTS.NEW_EFFECT"));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(state()["effects"]["selected"], nlohmann::json::array({added->getId()}));
    auto* editor = view()->table()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Silver fountain"));
    QTest::keyClick(editor, Qt::Key_Return);
    ScriptRunner::drainEvents();  // the editor hands its text over from the event loop
    EXPECT_NE(byDescription(L"Silver fountain"), nullptr);
    // A second one gets a description of its own.
    run({"click EffectScreen/Add"});
    EXPECT_EQ(library().getCount(), 3);

    // Escape leaves the new description as it is.
    editor = view()->table()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    ScriptRunner::drainEvents();
    run({"command 94"});
    EXPECT_EQ(library().getCount(), 2);
    ASSERT_TRUE(project().undo());
    EXPECT_EQ(library().getCount(), 3);
    // The Delete key in the table deletes the selection as well.
    QTest::keyClick(view()->table(), Qt::Key_Delete);
    EXPECT_EQ(library().getCount(), 2);
}

TEST_F(EffectScreenTest, PickModeAppliesTheChosenEffectToTheSelectedCuesAndCloses)
{
    addEffect(L"Red peony", L"4", L"12.5");
    addEffect(L"Gold willow", L"6", L"24");
    ASSERT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
    for (int second = 1; second <= 3; ++second) {
        ASSERT_TRUE(project().submit(
            new Project::OperationAddPyroCue(SMPTE(SMPTE::SMPTE_25, 0, 0, second, 0))));
    }
    run({"command 34"});  // every cue selected
    ASSERT_EQ(state()["selected"].size(), 3u);

    // Without a chosen effect nothing is applied.
    run({"command 99", "answer ok", "click EffectScreen/Apply"});
    EXPECT_EQ(dialogs_.takeShown().back().text, Config::tr(L"EFFECTS.PICK.NO_EFFECT"));
    clickRow(0);
    run({"command 97", "click EffectScreen/Apply"});
    EXPECT_EQ(state()["windows"], nlohmann::json::array({"Skyfirewright"}));
    const Project::CueList& cues = project().getProjectData().getCueList();
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        ASSERT_NE(cue->getMetadata().valueOf(L"~DESC"), nullptr);
        EXPECT_EQ(*cue->getMetadata().valueOf(L"~DESC"), L"Gold willow");
        EXPECT_EQ(*cue->getMetadata().valueOf(L"~PRICE"), L"24.00");
        EXPECT_EQ(cue->getDuration(), 6 * 25);
    }
    // One step of the history undoes all three.
    ASSERT_TRUE(project().undo());
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        EXPECT_EQ(cue->getMetadata().valueOf(L"~DESC"), nullptr);
    }
}

TEST_F(EffectScreenTest, CsvGoesOutAndComesBackThroughTheButtons)
{
    addEffect(L"Crossette, \"gold\"", L"4", L"12.5");
    addEffect(L"Gold willow", L"6", L"24");
    const std::string csv = pathUtf8("library.csv");
    run({"command 85", "file " + csv, "click EffectScreen/ExportCsv"});
    std::ifstream in(csv, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(0, 12), "description,");
    EXPECT_NE(bytes.find("\"Crossette, \"\"gold\"\"\""), std::string::npos);

    library().clearEffects();
    run({"file " + csv, "answer ok", "click EffectScreen/ImportCsv"});
    EXPECT_EQ(library().getCount(), 2);
    EXPECT_NE(byDescription(L"Crossette, \"gold\""), nullptr);
    const auto shown = dialogs_.takeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find(Config::tr(L"EFFECTS.CSV.REPORT.ADDED") + L" 2"),
              std::wstring::npos);
}

}  // namespace
}  // namespace GUIMain
