#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Project/EffectSearch.h"
#include "Project/Operations/OperationAddEffect.h"
#include "Project/Operations/OperationDeleteEffectSelection.h"
#include "Project/Operations/OperationFilterEffects.h"
#include "Project/Operations/OperationSelectAllEffects.h"
#include "Project/Operations/OperationSelectionEffect.h"
#include "Project/Operations/OperationSetEffectValue.h"
#include "Project/Project.h"

namespace Project {
namespace {

struct ProjectEvents : Project::Listener {
    std::vector<std::wstring> errors;
    int selectionNotices = 0;
    void errorReported(const std::wstring& text) override { errors.push_back(text); }
    void selectionChanging() override { ++selectionNotices; }
};

EffectTexts textsOf(const std::wstring& description, const std::wstring& price = L"",
                    const std::wstring& height = L"")
{
    EffectTexts texts;
    texts[static_cast<std::size_t>(EffectField::DESCRIPTION)] = description;
    texts[static_cast<std::size_t>(EffectField::PRICE)] = price;
    texts[static_cast<std::size_t>(EffectField::HEIGHT)] = height;
    return texts;
}

class EffectOperations : public ::testing::Test {
protected:
    EffectOperations() : project(Project::createInstance()) { project.addListener(&events); }
    ~EffectOperations() override { Project::destroyInstance(); }

    EffectList& library() { return project.getProjectData().getEffectList(); }
    EffectList& full() { return project.getProjectData().getFullEffectList(); }

    EffectList::EffectItem* add(const std::wstring& description, const std::wstring& price = L"")
    {
        return library().addEffectFromText(textsOf(description, price));
    }

    // "description#id" per effect, with "*" for a selected one.
    static std::vector<std::wstring> describe(const EffectList& list)
    {
        std::vector<std::wstring> all;
        for (const EffectList::EffectItem* effect : list) {
            all.push_back(effect->getDescription() + L"#" + std::to_wstring(effect->getId()) +
                          (effect->isSelected() ? L"*" : L""));
        }
        return all;
    }

    Project& project;
    ProjectEvents events;
};

TEST_F(EffectOperations, AnAddedEffectIsTheOnlySelectedOneAndComesBackUnderItsNumber)
{
    add(L"Red")->setSelected(true);
    add(L"Blue");
    ASSERT_TRUE(project.submit(new OperationAddEffect(textsOf(L"Gold", L"2,50", L"30"))));
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"Red#0", L"Blue#1", L"Gold#2*"}));
    const EffectList::EffectItem* gold = library().findById(2);
    EXPECT_DOUBLE_EQ(gold->getPrice(), 2.5);
    EXPECT_EQ(gold->getHeight(), 30);
    EXPECT_EQ(gold->getDatabaseId(), Effect::kDatabaseIdFromText);
    EXPECT_EQ(project.getUndoText(), L"UNDO.ADD_CUE");
    EXPECT_EQ(project.getUndoCount(), 1);

    ASSERT_TRUE(project.undo());
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"Red#0", L"Blue#1"}));
    // Another effect takes the next number meanwhile; redo still restores number 2.
    library().findById(0)->setSelected(true);
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"Red#0", L"Blue#1", L"Gold#2*"}));
    EXPECT_EQ(project.getRedoText(), L"REDO.NOTHING");
}

TEST_F(EffectOperations, AnEqualEffectAddsNothingAndStaysOutOfTheHistory)
{
    add(L"Red", L"1")->setSelected(true);
    add(L"Blue");
    ASSERT_TRUE(project.submit(new OperationAddEffect(textsOf(L"Red", L"1.0"))));
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"Red#0*", L"Blue#1"}));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_FALSE(project.isModified());
}

TEST_F(EffectOperations, UndoOfAnAdditionWhoseEffectIsGoneFails)
{
    ASSERT_TRUE(project.submit(new OperationAddEffect(textsOf(L"Gold"))));
    library().removeEffect(library().findById(0));
    EXPECT_FALSE(project.undo());
    EXPECT_EQ(events.errors, std::vector<std::wstring>{L"ERROR.GENERIC"});
    EXPECT_EQ(project.getUndoCount(), 0);
}

TEST_F(EffectOperations, EachEditedEffectGetsItsOwnOldValueBack)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<IOperation>()> make;
        EffectField field;
        std::vector<std::wstring> after;
        const wchar_t* undoText;
    };
    const std::vector<Case> cases = {
        {"price",
         [] { return std::make_unique<OperationSetEffectValue>(4, 9.75); },
         EffectField::PRICE,
         {L"9.750000", L"9.750000", L"3.000000", L"9.750000"},
         L"UNDO.EFFECT.PRICE"},
        {"height from text",
         [] { return std::make_unique<OperationSetEffectValue>(7, std::wstring(L" 40")); },
         EffectField::HEIGHT,
         {L"40", L"40", L"0", L"40"},
         L"UNDO.EFFECT.HEIGHT"},
        {"duration",
         [] { return std::make_unique<OperationSetEffectValue>(2, int32_t{1200}); },
         EffectField::DURATION,
         {L"1200", L"1200", L"0", L"1200"},
         L"UNDO.EFFECT.DURATION"},
        {"colour",
         [] { return std::make_unique<OperationSetEffectValue>(8, std::wstring(L"green")); },
         EffectField::COLOR,
         {L"green", L"green", L"", L"green"},
         L"UNDO.EFFECT.COLOR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library().clearEffects();
        add(L"A", L"1")->setSelected(true);
        add(L"B", L"2")->setSelected(true);
        add(L"C", L"3");
        add(L"D", L"4")->setSelected(true);
        std::vector<std::wstring> before;
        for (const EffectList::EffectItem* effect : library()) {
            before.push_back(effect->getFieldText(c.field));
        }
        ASSERT_TRUE(project.submit(c.make()));
        EXPECT_EQ(project.getUndoText(), c.undoText);
        std::vector<std::wstring> after;
        std::vector<int32_t> databaseIds;
        for (const EffectList::EffectItem* effect : library()) {
            after.push_back(effect->getFieldText(c.field));
            databaseIds.push_back(effect->getDatabaseId());
        }
        EXPECT_EQ(after, c.after);
        ASSERT_TRUE(project.undo());
        std::vector<std::wstring> undone;
        databaseIds.clear();
        for (const EffectList::EffectItem* effect : library()) {
            undone.push_back(effect->getFieldText(c.field));
            databaseIds.push_back(effect->getDatabaseId());
        }
        EXPECT_EQ(undone, before);
        // Undo is an edit too: the edited effects stay marked.
        EXPECT_EQ(databaseIds, (std::vector<int32_t>{-2, -2, -1, -2}));
    }
}

TEST_F(EffectOperations, AnUnknownFieldChangesNothing)
{
    add(L"A", L"1")->setSelected(true);
    OperationSetEffectValue operation(15, std::wstring(L"x"));
    EXPECT_EQ(operation.getUndoText(), L"UNDO.EFFECT.NOTHING");
    EXPECT_EQ(operation.getRedoText(), L"REDO.EFFECT.NOTHING");
    ASSERT_TRUE(operation.execute(project.getProjectData()));
    EXPECT_EQ(library().findById(0)->getDatabaseId(), Effect::kDatabaseIdFromText);
    EXPECT_EQ(library().findById(0)->getDescription(), L"A");
}

TEST_F(EffectOperations, DeletingDuringASearchDropsTheEffectsFromTheFullCopyForGood)
{
    add(L"Red rocket");
    add(L"Blue cake");
    add(L"Red comet");
    restoreFullLibraryBothWays(library(), full());
    EffectTexts criteria;
    criteria[static_cast<std::size_t>(EffectField::DESCRIPTION)] = L"red";
    ASSERT_TRUE(project.submit(new OperationFilterEffects(criteria)));
    ASSERT_EQ(library().getCount(), 2);
    ASSERT_TRUE(project.submit(new OperationSelectAllEffects(true)));
    const std::vector<std::wstring> narrowed = describe(library());

    ASSERT_TRUE(project.submit(new OperationDeleteEffectSelection()));
    EXPECT_TRUE(library().isEmpty());
    EXPECT_EQ(describe(full()), std::vector<std::wstring>{L"Blue cake#1"});
    EXPECT_EQ(project.getUndoText(), L"UNDO.REMOVE_CUES");

    ASSERT_TRUE(project.undo());
    EXPECT_EQ(describe(library()), narrowed);
    EXPECT_EQ(describe(full()), std::vector<std::wstring>{L"Blue cake#1"});
    ASSERT_TRUE(project.redo());
    EXPECT_TRUE(library().isEmpty());
}

TEST_F(EffectOperations, DeletingWithNothingSelectedLeavesBothHistoriesAlone)
{
    add(L"Red");
    ASSERT_TRUE(project.submit(new OperationAddEffect(textsOf(L"Blue"))));
    ASSERT_TRUE(project.submit(new OperationAddEffect(textsOf(L"Gold"))));
    ASSERT_TRUE(project.undo());
    ASSERT_TRUE(project.submit(new OperationSelectAllEffects(false)));
    ASSERT_TRUE(project.submit(new OperationDeleteEffectSelection()));
    EXPECT_EQ(project.getUndoCount(), 1);
    EXPECT_EQ(project.getRedoCount(), 1);
    EXPECT_EQ(library().getCount(), 2);
}

TEST_F(EffectOperations, SelectionsAnnounceThemselvesAndUndoInverts)
{
    add(L"A");
    add(L"B")->setSelected(true);
    add(L"C");
    OperationSelectionEffect some({{0, true}, {1, false}, {7, true}});
    ASSERT_TRUE(some.execute(project.getProjectData()));
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"A#0*", L"B#1", L"C#2"}));
    EXPECT_EQ(events.selectionNotices, 1);
    ASSERT_TRUE(some.undo(project.getProjectData()));
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"A#0", L"B#1*", L"C#2"}));

    OperationSelectAllEffects all(true);
    ASSERT_TRUE(all.execute(project.getProjectData()));
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"A#0*", L"B#1*", L"C#2*"}));
    ASSERT_TRUE(all.undo(project.getProjectData()));
    EXPECT_EQ(describe(library()), (std::vector<std::wstring>{L"A#0", L"B#1", L"C#2"}));
    EXPECT_EQ(events.selectionNotices, 4);
    EXPECT_EQ(project.getUndoCount(), 0);
}

TEST_F(EffectOperations, AFilterIsNeverUndone)
{
    add(L"A");
    OperationFilterEffects filter{EffectTexts{}};
    EXPECT_TRUE(filter.isPassive());
    EXPECT_FALSE(filter.undo(project.getProjectData()));
    EXPECT_FALSE(filter.redo(project.getProjectData()));
}

}  // namespace
}  // namespace Project
