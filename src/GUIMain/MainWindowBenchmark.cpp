#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPointer>
#include <filesystem>
#include <map>
#include <memory>
#include <unistd.h>

#include "Config/Settings.h"
#include "GUI/Graphics.h"
#include "GUI/QtMessagePump.h"
#include "GUIMain/BenchmarkApplication.h"
#include "GUIMain/Commands.h"
#include "GUIMain/ScriptDialogs.h"
#include "GUIMain/ScriptRunner.h"
#include "GUIMain/Skyfirewright.h"
#include "Midi/FakeMidiPorts.h"
#include "Platform/Folders.h"
#include "Platform/MessageQueue.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ProjectFileSample.h"
#include "Show/ShowSession.h"

// The main window opening shows of 20,000 and 100,000 cues through command 1 (the open
// dialog answered at once), until the window has painted them. Runs on the offscreen platform.
namespace {

std::filesystem::path scratch(const std::string& name)
{
    return std::filesystem::temp_directory_path() /
           ("sky-bench-" + std::to_string(::getpid()) + "-" + name);
}

// A show file of `cues` cues, written once.
std::wstring showFile(int cues)
{
    static std::map<int, std::wstring> files;
    std::wstring& path = files[cues];
    if (path.empty()) {
        Project::ProjectData data;
        Project::Sample::fillShow(data, cues);
        path = Platform::fromUtf8(scratch("show-" + std::to_string(cues) + ".fwp").string());
        std::wstring error;
        Project::ProjectFile::save(path, data, error);
    }
    return path;
}

void BM_OpenProjectThroughTheWindow(benchmark::State& state)
{
    GUIMain::benchmarkApplication();
    const std::wstring file = showFile(static_cast<int>(state.range(0)));
    const std::filesystem::path user = scratch("user");
    std::filesystem::create_directories(user);

    Platform::MessageQueue queue;
    GUI::QtMessagePump pump(queue);
    Midi::Devices midiDevices;
    GUIMain::ScriptDialogs dialogs;
    Show::ShowSessionOptions options;
    options.programFolder = Platform::programFolder();
    options.userFolder = Platform::fromUtf8(user.string()) + L"/";
    options.audio.device = L"silent";
    options.controller.findPorts = [] { return std::vector<std::string>{}; };
    options.midiPorts = std::make_unique<Midi::FakePorts>(midiDevices);
    options.messageBoxes = &dialogs;
    {
        Show::ShowSession session(std::move(options));
        session.waitUntilReady(std::chrono::seconds(5));
        auto* window = new GUIMain::Skyfirewright(session, dialogs, dialogs);
        window->start(1920, 1080);
        QPointer<QWidget> handle = window->getHandle();
        GUIMain::ScriptRunner::drainEvents();
        for (auto _ : state) {
            dialogs.queueFile(file, false);
            window->runCommand(GUIMain::Command::kOpenProject);
            GUIMain::ScriptRunner::drainEvents();
            handle->repaint();
            if (session.project().getProjectData().getCueList().getCount() != state.range(0)) {
                state.SkipWithError("the show did not open");
                break;
            }
        }
        window->closeWithoutQuestions();
        GUIMain::ScriptRunner::drainEvents();
    }
    std::filesystem::remove_all(user);
}
BENCHMARK(BM_OpenProjectThroughTheWindow)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
