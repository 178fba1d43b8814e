#include <gtest/gtest.h>

#include <deque>

#include "AssertionCapture.h"
#include "GUI/FileChooser.h"
#include "GUI/FileDialogs.h"
#include "Platform/TestFolder.h"

namespace GUI {
namespace {

using Answer = Platform::MessageBoxService::Answer;

// Stands in for the dialog: hands out prepared names and records the filters it was shown.
class ScriptedChooser : public FileChooser {
public:
    std::wstring chooseOpen(const std::wstring& filter, QWidget*) override { return next(filter); }
    std::vector<std::wstring> chooseOpenSeveral(const std::wstring& filter, QWidget*) override
    {
        filters.push_back(filter);
        return several;
    }
    std::wstring chooseSave(const std::wstring& filter, QWidget*) override { return next(filter); }

    std::wstring next(const std::wstring& filter)
    {
        filters.push_back(filter);
        if (names.empty()) {
            return {};
        }
        std::wstring name = names.front();
        names.pop_front();
        return name;
    }

    std::deque<std::wstring> names;
    std::vector<std::wstring> several;
    std::vector<std::wstring> filters;
};

class FileDialogsTest : public ::testing::Test {
protected:
    ScriptedChooser chooser_;
    Platform::ScriptedMessageBox box_;
    FileDialogs dialogs_{chooser_, box_, [](const std::wstring& key) { return L"<" + key + L">"; }};
    Platform::TestFolder folder_;
};

TEST_F(FileDialogsTest, SaveAppendsTheExtensionUnlessTheNameEndsInItExactly)
{
    const struct {
        const wchar_t* typed;
        const wchar_t* expected;
    } cases[] = {
        {L"show.fwp", L"show.fwp"},
        {L"show", L"show.fwp"},
        {L"show.FWP", L"show.FWP.fwp"},  // the comparison is case-sensitive
        {L"show.fwp.txt", L"show.fwp.txt.fwp"},
        {L"fwp", L"fwp.fwp"},  // shorter than the extension
        {L".fwp", L".fwp"},
    };
    for (const auto& c : cases) {
        chooser_.names = {folder_.path() + c.typed};
        EXPECT_EQ(dialogs_.save(3, nullptr), folder_.path() + c.expected) << c.typed;
    }
    EXPECT_TRUE(box_.getRequests().empty());
    EXPECT_EQ(chooser_.filters.front(), L"Skyfirewright Project (*.fwp)");
}

TEST_F(FileDialogsTest, OverwriteQuestionLoopsOnNoAndStopsOnYesOrCancel)
{
    folder_.writeBytes("old.csv", "x");
    const std::wstring old = folder_.path(std::string("old.csv"));

    // No shows the dialog again; the second name is new and taken without a question.
    chooser_.names = {folder_.path() + L"old", folder_.path() + L"new"};
    box_.queueAnswer(Answer::kNo);
    EXPECT_EQ(dialogs_.save(6, nullptr), folder_.path() + L"new.csv");
    ASSERT_EQ(box_.getRequests().size(), 1u);
    EXPECT_EQ(box_.getRequests()[0].text, L"<WINDOW.QUERY_OVERWRITE_EX>");
    EXPECT_EQ(box_.getRequests()[0].caption, L"<WINDOW.QUERY_OVERWRITE>");
    EXPECT_EQ(box_.getRequests()[0].buttons, Platform::MessageBoxService::Buttons::kYesNoCancel);

    chooser_.names = {old};
    box_.queueAnswer(Answer::kYes);
    EXPECT_EQ(dialogs_.save(6, nullptr), old);

    chooser_.names = {old, folder_.path() + L"never"};
    box_.queueAnswer(Answer::kCancel);
    EXPECT_EQ(dialogs_.save(6, nullptr), L"");
    EXPECT_EQ(chooser_.names.size(), 1u);  // the dialog was not shown again
    EXPECT_EQ(box_.getRequests().size(), 3u);
}

TEST_F(FileDialogsTest, AFolderOfThatNameIsNoFileToOverwrite)
{
    folder_.writeBytes("data.pdf/inside", "x");
    chooser_.names = {folder_.path() + L"data.pdf"};
    EXPECT_EQ(dialogs_.save(4, nullptr), folder_.path() + L"data.pdf");
    EXPECT_TRUE(box_.getRequests().empty());
}

TEST_F(FileDialogsTest, CancelReturnsEmptyAndOpenUsesTheSingleFilter)
{
    EXPECT_EQ(dialogs_.save(5, nullptr), L"");
    EXPECT_EQ(dialogs_.open(7, nullptr), L"");
    chooser_.several = {L"/a.fwp", L"/b.fwp"};
    EXPECT_EQ(dialogs_.openSeveral(3, nullptr).size(), 2u);
    const std::vector<std::wstring> expected = {L"Skyfirewright Show File (*.fws)",
                                                L"Volantix Effectfile (*.efx)",
                                                L"Skyfirewright Project (*.fwp)"};
    EXPECT_EQ(chooser_.filters, expected);
}

TEST_F(FileDialogsTest, FilterNumbersOutsideTheDialogsTablesAreProgrammingErrors)
{
    EXPECT_INVARIANT(dialogs_.open(5, nullptr), "isOpenFilter(filter)", "FileDialogs");
    EXPECT_INVARIANT(dialogs_.save(7, nullptr), "isSaveFilter(filter)", "FileDialogs");
    EXPECT_INVARIANT(dialogs_.save(0, nullptr), "isSaveFilter(filter)", "FileDialogs");
    EXPECT_TRUE(chooser_.filters.empty());
}

}  // namespace
}  // namespace GUI
