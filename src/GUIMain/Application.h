#pragma once

#include <optional>
#include <string>

namespace GUIMain {

struct ApplicationOptions {
    // The file named on the command line: a project, an effect library (".fwe") or a preset
    // library (".fwf"); empty for none.
    std::wstring commandLineFile;
    // A script to run (`--script FILE`); the program closes when it ends.
    std::optional<std::string> scriptPath;
    // The sound output ("silent", "default", a device name); empty: the setting.
    std::wstring audioDevice;
    // The window's size at start; it is never smaller than the minimum.
    int width = 1280;
    int height = 800;
};

// The command sent at start for a command-line file: 100 for an effect library, 116 for a
// preset library, 24 for anything else, none when the path names both library kinds. The
// test is a case-sensitive search over the whole path.
std::optional<int> commandForCommandLineFile(const std::wstring& path);

// Runs the program: the services in their order, the main window, the event loop, then the
// orderly shutdown. The QApplication must exist. Returns the exit status (a script's status
// when one ran).
int runApplication(const ApplicationOptions& options);

}  // namespace GUIMain
