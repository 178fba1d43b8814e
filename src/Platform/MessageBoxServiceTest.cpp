#include <gtest/gtest.h>

#include "Platform/MessageBoxService.h"

namespace Platform {
namespace {

using Answer = MessageBoxService::Answer;
using Buttons = MessageBoxService::Buttons;

MessageBoxService::Request question(Buttons buttons)
{
    MessageBoxService::Request request;
    request.text = L"Overwrite?";
    request.caption = L"Save";
    request.buttons = buttons;
    return request;
}

TEST(ScriptedMessageBoxTest, AnswersInQueueOrderThenSafely)
{
    ScriptedMessageBox box;
    box.queueAnswer(Answer::kNo);
    box.queueAnswer(Answer::kYes);
    EXPECT_EQ(box.ask(question(Buttons::kYesNoCancel)), Answer::kNo);
    EXPECT_EQ(box.ask(question(Buttons::kYesNoCancel)), Answer::kYes);
    EXPECT_EQ(box.ask(question(Buttons::kYesNoCancel)), Answer::kCancel);
    ASSERT_EQ(box.getRequests().size(), 3u);
    EXPECT_EQ(box.getRequests()[0].text, L"Overwrite?");
    EXPECT_EQ(box.getRequests()[0].caption, L"Save");
}

TEST(ScriptedMessageBoxTest, NeverAnswersWithAButtonNotShown)
{
    const struct {
        Buttons buttons;
        Answer queued;
        Answer expected;
    } cases[] = {
        {Buttons::kOk, Answer::kCancel, Answer::kOk},
        {Buttons::kOkCancel, Answer::kYes, Answer::kCancel},
        {Buttons::kYesNo, Answer::kCancel, Answer::kNo},
        {Buttons::kYesNo, Answer::kOk, Answer::kNo},
        {Buttons::kYesNoCancel, Answer::kOk, Answer::kCancel},
        {Buttons::kOkCancel, Answer::kOk, Answer::kOk},
    };
    for (const auto& c : cases) {
        ScriptedMessageBox box;
        box.queueAnswer(c.queued);
        EXPECT_EQ(box.ask(question(c.buttons)), c.expected)
            << static_cast<int>(c.buttons) << " " << static_cast<int>(c.queued);
        EXPECT_EQ(box.getPendingAnswers(), 0u);
    }
}

}  // namespace
}  // namespace Platform
