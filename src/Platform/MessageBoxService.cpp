#include "Platform/MessageBoxService.h"

namespace Platform {

bool MessageBoxService::offers(Buttons buttons, Answer answer)
{
    switch (buttons) {
        case Buttons::kOk: return answer == Answer::kOk;
        case Buttons::kOkCancel: return answer == Answer::kOk || answer == Answer::kCancel;
        case Buttons::kYesNo: return answer == Answer::kYes || answer == Answer::kNo;
        case Buttons::kYesNoCancel: return answer != Answer::kOk;
    }
    return false;
}

MessageBoxService::Answer MessageBoxService::safeAnswer(Buttons buttons)
{
    if (offers(buttons, Answer::kCancel)) {
        return Answer::kCancel;
    }
    if (offers(buttons, Answer::kNo)) {
        return Answer::kNo;
    }
    return Answer::kOk;
}

MessageBoxService::Answer ScriptedMessageBox::ask(const Request& request)
{
    requests_.push_back(request);
    if (answers_.empty()) {
        return safeAnswer(request.buttons);
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    return offers(request.buttons, answer) ? answer : safeAnswer(request.buttons);
}

}  // namespace Platform
