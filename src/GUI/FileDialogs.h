#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "Platform/MessageBoxService.h"

namespace GUI {

class FileChooser;

// The open and save dialogs every file command uses, by filter number:
//   1 wave, 2 foreign show script, 3 project, 4 PDF, 5 show file, 6 CSV,
//   7 foreign effect file, 8 effect file, 9 preset file.
// Open dialogs take 1 to 4 and 6 to 9; save dialogs 1 to 6, 8 and 9. Another number is a
// programming error. A cancelled or failed dialog returns an empty result.
class FileDialogs {
public:
    struct Filter {
        const wchar_t* text;       // what the dialog lists, with its pattern
        const wchar_t* extension;  // the default extension, with its dot
    };
    using Translate = std::function<std::wstring(const std::wstring& key)>;

    // Neither is owned; both outlive the dialogs. `translate` turns a localization key into
    // the text the overwrite question shows.
    FileDialogs(FileChooser& chooser, Platform::MessageBoxService& messageBox, Translate translate);

    static const Filter& getFilter(int number);
    static bool isOpenFilter(int number);
    static bool isSaveFilter(int number);

    std::wstring open(int filter, QWidget* owner);
    // With the project filter (3) unless told otherwise.
    std::vector<std::wstring> openSeveral(int filter, QWidget* owner);
    // Appends the filter's extension when the name does not end in it (case-sensitive),
    // then asks before overwriting an existing file: Yes takes the name, No shows the
    // dialog again, Cancel returns empty.
    std::wstring save(int filter, QWidget* owner);

    // The chosen name with the extension added when its last four characters are not it.
    static std::wstring withExtension(const std::wstring& path, const std::wstring& extension);

private:
    FileChooser& chooser_;
    Platform::MessageBoxService& messageBox_;
    Translate translate_;
};

}  // namespace GUI
