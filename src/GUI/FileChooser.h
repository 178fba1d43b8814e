#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace GUI {

// The window-system part of the file dialogs: shows one dialog and returns what the user
// chose. FileDialogs adds the rules around it; tests stand in for this with a scripted one.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // An existing file in an existing folder; empty when cancelled or failed.
    virtual std::wstring chooseOpen(const std::wstring& filter, QWidget* owner) = 0;
    // Existing files; none when cancelled or failed.
    virtual std::vector<std::wstring> chooseOpenSeveral(const std::wstring& filter,
                                                        QWidget* owner) = 0;
    // A name in an existing folder, exactly as typed; empty when cancelled or failed. The
    // chooser neither adds an extension nor asks about overwriting.
    virtual std::wstring chooseSave(const std::wstring& filter, QWidget* owner) = 0;
};

// The chooser over Qt's file dialog.
class QtFileChooser : public FileChooser {
public:
    std::wstring chooseOpen(const std::wstring& filter, QWidget* owner) override;
    std::vector<std::wstring> chooseOpenSeveral(const std::wstring& filter,
                                                QWidget* owner) override;
    std::wstring chooseSave(const std::wstring& filter, QWidget* owner) override;
};

}  // namespace GUI
