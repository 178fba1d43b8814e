#pragma once

// What the project subcommands share: the process-wide project for the time of one command,
// a soundtrack that only checks WAVE files (the command line plays nothing), and the reading
// of numbers and formats. Header-only: the command object library collects only the
// subcommands' own sources.

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Config/KeyFile.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/Folders.h"
#include "Platform/Utf.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/FileDamage.h"
#include "Project/Operations/OperationOpenProject.h"
#include "Project/Project.h"
#include "Timecode/SMPTE.h"

namespace Cli {

using TranslateText = std::function<std::wstring(const std::wstring&)>;

// The texts of a language for a --locale option: CODE names locale/CODE.ini beside the
// program, a path ending in ".ini" names that file. A key without a text stays as it is;
// without a locale every key is its own text. False, with `file` naming the language file,
// when that file cannot be read.
inline bool loadLanguage(const std::optional<std::string>& locale, TranslateText& translate,
                         std::wstring& file)
{
    translate = [](const std::wstring& key) { return key; };
    if (!locale) {
        return true;
    }
    file = locale->ends_with(".ini")
               ? Platform::fromUtf8(*locale)
               : Platform::programFolder() + L"locale/" + Platform::fromUtf8(*locale) + L".ini";
    auto texts = std::make_shared<Config::KeyMap>();
    if (!Config::KeyFile::read(file, *texts)) {
        return false;
    }
    translate = [texts](const std::wstring& key) {
        const auto text = texts->find(key);
        return text != texts->end() ? text->second : key;
    };
    return true;
}

// The warning after a damaged file was opened with --salvage, on standard error.
inline void reportSalvaged(const std::string& command, std::ostream& err)
{
    err << "skyfirewright-cli " << command
        << ": warning: the file is damaged; only what could be read of it was opened\n";
}

// Links a soundtrack when the WAVE reader accepts the file, as the player would.
class CheckingSoundtrack : public Project::ISoundtrack {
public:
    bool load(const std::wstring& path) override
    {
        FileIO::WaveFileReader reader;
        return reader.open(path);
    }
    void unload() override {}
};

// The process-wide project with the checking soundtrack, for the time of one command. The
// project is created untitled and empty, as the program starts.
class ProjectSession {
public:
    ProjectSession() : project_(Project::Project::createInstance())
    {
        project_.setSoundtrack(&soundtrack_);
    }
    ~ProjectSession() { Project::Project::destroyInstance(); }
    ProjectSession(const ProjectSession&) = delete;
    ProjectSession& operator=(const ProjectSession&) = delete;

    Project::Project& project() { return project_; }
    Project::ProjectData& data() { return project_.getProjectData(); }

    // Opens a project file as the open command does; false with the last error. A damaged
    // file opens only when salvage is allowed, and then leaves the project modified.
    bool open(const std::string& path)
    {
        const bool ok =
            project_.submit(new Project::OperationOpenProject(Platform::fromUtf8(path), salvage_));
        salvaged_ = ok && project_.isModified();
        if (salvaged_ && warnings_ != nullptr) {
            reportSalvaged(command_, *warnings_);
        }
        return ok;
    }
    const std::wstring& lastError() const { return project_.getLastError(); }

    // Whether damaged files (the project and the libraries a command reads) may be read for
    // what can be read of them (--salvage).
    // A salvaged open is reported on `warnings` for `command`.
    void setSalvage(Project::Salvage salvage, const std::string& command, std::ostream& warnings)
    {
        salvage_ = salvage;
        command_ = command;
        warnings_ = &warnings;
    }
    Project::Salvage getSalvage() const { return salvage_; }
    // True when the last open read a damaged file.
    bool wasSalvaged() const { return salvaged_; }

private:
    Project::Project& project_;
    CheckingSoundtrack soundtrack_;
    Project::Salvage salvage_ = Project::Salvage::REFUSE;
    bool salvaged_ = false;
    std::string command_;
    std::ostream* warnings_ = nullptr;
};

// Takes the option "--salvage" out of a command's arguments (anywhere among them): with it,
// a damaged project or library file is read for what can still be read of it.
inline std::vector<std::string> takeSalvageOption(const std::vector<std::string>& args,
                                                  Project::Salvage& salvage)
{
    std::vector<std::string> rest;
    salvage = Project::Salvage::REFUSE;
    for (const std::string& arg : args) {
        if (arg == "--salvage") {
            salvage = Project::Salvage::ALLOW;
        } else {
            rest.push_back(arg);
        }
    }
    return rest;
}

// The line of help that every command reading project or library files shows.
inline constexpr const char* kSalvageHelp =
    "\n"
    "  --salvage  open a damaged file (its check sum does not match, bytes follow its end, a\n"
    "             part of it is cut short, or it holds impossible values) for what can still\n"
    "             be read of it; without it such a file is refused with ERROR.DAMAGED_FILE.\n"
    "             Check every cue before firing a salvaged show.\n";

// "24", "25", "30df" or "30" as a timecode format.
inline std::optional<int> parseFormatName(const std::string& text)
{
    if (text == "24") {
        return SMPTE::SMPTE_24;
    }
    if (text == "25") {
        return SMPTE::SMPTE_25;
    }
    if (text == "30df" || text == "30DF") {
        return SMPTE::SMPTE_30DF;
    }
    if (text == "30") {
        return SMPTE::SMPTE_30;
    }
    return std::nullopt;
}

// A whole number, decimal or hexadecimal with "0x", with an optional minus sign and nothing
// after it.
inline std::optional<long long> parseNumber(const std::string& text)
{
    std::string digits = text;
    bool negative = false;
    if (!digits.empty() && digits[0] == '-') {
        negative = true;
        digits.erase(0, 1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.erase(0, 2);
    }
    if (digits.empty() || digits[0] == '-' || digits[0] == '+' || digits[0] == ' ') {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(digits.c_str(), &end, base);
    if (errno != 0 || *end != '\0') {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// Reports a failed operation with its error key on standard error.
inline int reportFailure(const std::string& command, const std::wstring& key, std::ostream& err)
{
    err << "skyfirewright-cli " << command << ": " << Platform::toUtf8(key) << "\n";
    if (key == Project::FileDamage::kKey) {
        err << "skyfirewright-cli " << command
            << ": the file is damaged; --salvage opens what can still be read of it\n";
    }
    return 1;
}

}  // namespace Cli
