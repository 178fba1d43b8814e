#include "GUI/FileDialogs.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "GUI/FileChooser.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

constexpr std::array<FileDialogs::Filter, 9> kFilters = {{
    {L"Waveform Audio File Format (*.wav)", L".wav"},
    {L"Volantix Scriptfile (*.scx)", L".scx"},
    {L"Skyfirewright Project (*.fwp)", L".fwp"},
    {L"Adobe Acrobat Document (*.pdf)", L".pdf"},
    {L"Skyfirewright Show File (*.fws)", L".fws"},
    {L"Comma-Separated Values (*.csv)", L".csv"},
    {L"Volantix Effectfile (*.efx)", L".efx"},
    {L"Skyfirewright Effect File (*.fwe)", L".fwe"},
    {L"Skyfirewright Preset File (*.fwf)", L".fwf"},
}};

// A regular file (or anything else that is not a folder) stands at the path.
bool fileExists(const std::wstring& path)
{
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::path(path), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

FileDialogs::FileDialogs(FileChooser& chooser, Platform::MessageBoxService& messageBox,
                         Translate translate)
    : chooser_(chooser), messageBox_(messageBox), translate_(std::move(translate))
{
}

const FileDialogs::Filter& FileDialogs::getFilter(int number)
{
    SKY_ASSERT(number >= 1 && number <= 9, "FileDialogs");
    return kFilters[static_cast<std::size_t>(number - 1)];
}

bool FileDialogs::isOpenFilter(int number)
{
    return (number >= 1 && number <= 4) || (number >= 6 && number <= 9);
}

bool FileDialogs::isSaveFilter(int number)
{
    return (number >= 1 && number <= 6) || number == 8 || number == 9;
}

std::wstring FileDialogs::open(int filter, QWidget* owner)
{
    SKY_ASSERT(isOpenFilter(filter), "FileDialogs");
    return chooser_.chooseOpen(getFilter(filter).text, owner);
}

std::vector<std::wstring> FileDialogs::openSeveral(int filter, QWidget* owner)
{
    SKY_ASSERT(isOpenFilter(filter), "FileDialogs");
    return chooser_.chooseOpenSeveral(getFilter(filter).text, owner);
}

std::wstring FileDialogs::withExtension(const std::wstring& path, const std::wstring& extension)
{
    const std::size_t n = extension.size();
    if (path.size() >= n && path.compare(path.size() - n, n, extension) == 0) {
        return path;
    }
    return path + extension;
}

std::wstring FileDialogs::save(int filter, QWidget* owner)
{
    SKY_ASSERT(isSaveFilter(filter), "FileDialogs");
    const Filter& chosenFilter = getFilter(filter);
    for (;;) {
        const std::wstring chosen = chooser_.chooseSave(chosenFilter.text, owner);
        if (chosen.empty()) {
            return {};
        }
        const std::wstring path = withExtension(chosen, chosenFilter.extension);
        if (!fileExists(path)) {
            return path;
        }
        Platform::MessageBoxService::Request request;
        request.text = translate_(L"WINDOW.QUERY_OVERWRITE_EX");
        request.caption = translate_(L"WINDOW.QUERY_OVERWRITE");
        request.buttons = Platform::MessageBoxService::Buttons::kYesNoCancel;
        request.icon = Platform::MessageBoxService::Icon::kQuestion;
        request.owner = owner;
        switch (messageBox_.ask(request)) {
            case Platform::MessageBoxService::Answer::kYes: return path;
            case Platform::MessageBoxService::Answer::kNo: continue;
            default: return {};
        }
    }
}

}  // namespace GUI
