#include "GUIMain/ScriptDialogs.h"

#include "Platform/Utf.h"

namespace GUIMain {

ScriptDialogs::Answer ScriptDialogs::ask(const Request& request)
{
    shown_.push_back({request.caption, request.text});
    if (answers_.empty()) {
        if (failure_.empty()) {
            failure_ = "a message box has no queued answer: \"" +
                       Platform::toUtf8(request.caption) + "\": " + Platform::toUtf8(request.text);
        }
        return safeAnswer(request.buttons);
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    if (!offers(request.buttons, answer)) {
        if (failure_.empty()) {
            failure_ = "the queued answer is not a button of the message box \"" +
                       Platform::toUtf8(request.caption) + "\"";
        }
        return safeAnswer(request.buttons);
    }
    return answer;
}

void ScriptDialogs::queueFile(std::wstring path, bool cancel)
{
    files_.push_back({std::move(path), cancel});
}

bool ScriptDialogs::takeFile(const char* dialog, QueuedFile& file)
{
    if (files_.empty()) {
        if (failure_.empty()) {
            failure_ = std::string("a file dialog (") + dialog + ") has no queued answer";
        }
        return false;
    }
    file = files_.front();
    files_.pop_front();
    return true;
}

std::wstring ScriptDialogs::chooseOpen(const std::wstring& /*filter*/, QWidget* /*owner*/)
{
    QueuedFile file;
    return takeFile("open", file) && !file.cancel ? file.path : std::wstring();
}

std::vector<std::wstring> ScriptDialogs::chooseOpenSeveral(const std::wstring& /*filter*/,
                                                           QWidget* /*owner*/)
{
    std::vector<std::wstring> paths;
    QueuedFile file;
    if (!takeFile("open several", file) || file.cancel) {
        return paths;
    }
    paths.push_back(file.path);
    // Every further queued path belongs to the same choice.
    while (!files_.empty() && !files_.front().cancel) {
        paths.push_back(files_.front().path);
        files_.pop_front();
    }
    return paths;
}

std::wstring ScriptDialogs::chooseSave(const std::wstring& /*filter*/, QWidget* /*owner*/)
{
    QueuedFile file;
    return takeFile("save", file) && !file.cancel ? file.path : std::wstring();
}

std::vector<ScriptDialogs::Shown> ScriptDialogs::takeShown()
{
    return std::exchange(shown_, {});
}

std::string ScriptDialogs::takeFailure()
{
    return std::exchange(failure_, {});
}

}  // namespace GUIMain
