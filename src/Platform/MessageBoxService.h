#pragma once

#include <deque>
#include <string>
#include <vector>

namespace Platform {

// Asks the user a question in a modal box. The core asks through this interface, so it never
// sees a window: the GUI answers with a real message box, tests and the command-line
// program with an answerer that needs no window.
class MessageBoxService {
public:
    enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
    enum class Icon { kNone, kInformation, kQuestion, kWarning, kError };
    enum class Answer { kOk, kCancel, kYes, kNo };

    struct Request {
        std::wstring text;     // already localized
        std::wstring caption;  // already localized
        Buttons buttons = Buttons::kOk;
        Icon icon = Icon::kNone;
        // The window the box is modal to, as the GUI knows it (a QWidget there); null for
        // none. The core passes on what it was given and never looks inside.
        void* owner = nullptr;
    };

    virtual ~MessageBoxService() = default;
    // Blocks until answered; the answer is always one of the request's buttons.
    virtual Answer ask(const Request& request) = 0;

    // The answer that changes nothing: Cancel when offered, else No, else OK.
    static Answer safeAnswer(Buttons buttons);
    static bool offers(Buttons buttons, Answer answer);
};

// Answers without a window: from a queue of prepared answers, then with the safe answer.
// Records every request, so a test can check what was asked.
class ScriptedMessageBox : public MessageBoxService {
public:
    Answer ask(const Request& request) override;

    // Queues the answer for the next question. An answer the question does not offer is
    // replaced by the safe answer (a box cannot return a button it does not show).
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    const std::vector<Request>& getRequests() const { return requests_; }
    std::size_t getPendingAnswers() const { return answers_.size(); }

private:
    std::deque<Answer> answers_;
    std::vector<Request> requests_;
};

}  // namespace Platform
