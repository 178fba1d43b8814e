#pragma once

#include <deque>
#include <string>
#include <vector>

#include "GUI/FileChooser.h"
#include "Platform/MessageBoxService.h"

namespace GUIMain {

// Message boxes and file dialogs answered by a script: `answer` and `file` lines queue the
// answers, each box or dialog takes the next one. One with no queued answer (or an answer it
// cannot give) is a failure the script stops at; every box shown is kept for `state`.
class ScriptDialogs : public Platform::MessageBoxService, public GUI::FileChooser {
public:
    struct Shown {
        std::wstring caption;
        std::wstring text;
    };

    Answer ask(const Request& request) override;
    std::wstring chooseOpen(const std::wstring& filter, QWidget* owner) override;
    std::vector<std::wstring> chooseOpenSeveral(const std::wstring& filter,
                                                QWidget* owner) override;
    std::wstring chooseSave(const std::wstring& filter, QWidget* owner) override;

    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    // A path, or none for a cancelled dialog.
    void queueFile(std::wstring path, bool cancel);

    // The boxes shown since the last call.
    std::vector<Shown> takeShown();
    // The reason the last dialog failed, cleared by the call; empty when none failed.
    std::string takeFailure();
    std::size_t unusedAnswers() const { return answers_.size(); }
    std::size_t unusedFiles() const { return files_.size(); }

private:
    struct QueuedFile {
        std::wstring path;
        bool cancel = false;
    };
    bool takeFile(const char* dialog, QueuedFile& file);

    std::deque<Answer> answers_;
    std::deque<QueuedFile> files_;
    std::vector<Shown> shown_;
    std::string failure_;
};

}  // namespace GUIMain
