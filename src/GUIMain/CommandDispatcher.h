#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace Project {
class IOperation;
}

namespace GUIMain {

class Skyfirewright;

// What must hold for a command to run; a command whose precondition fails does nothing.
enum class Precondition {
    kNone,
    kOpen,                     // a project is open
    kEdit,                     // a project is open and show mode is off
    kShow,                     // show mode is on
    kIdle,                     // show mode is off (a project need not be open)
    kShowAndModuleCheck,       // show mode, and the controller offers the module check
    kPlayingOrRecordRequested  // the player plays, or a recording was asked for
};

// The main window's command table: one row a code (or a range of codes) with its
// precondition and its action, so that what a code does is found in one place.
class CommandDispatcher {
public:
    using Action = std::intptr_t (CommandDispatcher::*)(int code, std::uint64_t argument);
    struct Row {
        int first;
        int last;
        Precondition precondition;
        Action action;
    };

    explicit CommandDispatcher(Skyfirewright& window);

    // Runs a command; the result of commands 3 and 4 is nonzero when the project was saved.
    // A code without a row, or whose precondition fails, does nothing and returns 0.
    std::intptr_t dispatch(int code, std::uint64_t argument);
    // The row of a code, or null.
    static const Row* findRow(int code);
    bool holds(Precondition precondition) const;

    // The frames a timecode command moves the selected cues by, at the project's format.
    static int timecodeDeltaOf(int code, int format);

private:
    static std::span<const Row> rows();
    bool submit(Project::IOperation* operation);
    bool submitAndZoom(Project::IOperation* operation);
    bool saveQuestionAllows();
    void zoomToFit();

    // Files, libraries and the application.
    std::intptr_t newProject(int code, std::uint64_t argument);
    std::intptr_t openProject(int code, std::uint64_t argument);
    std::intptr_t importForeignShow(int code, std::uint64_t argument);
    std::intptr_t save(int code, std::uint64_t argument);
    std::intptr_t saveAs(int code, std::uint64_t argument);
    std::intptr_t showMode(int code, std::uint64_t argument);
    std::intptr_t checkCues(int code, std::uint64_t argument);
    std::intptr_t loadingListReport(int code, std::uint64_t argument);
    std::intptr_t exit(int code, std::uint64_t argument);
    std::intptr_t openRecentFile(int code, std::uint64_t argument);
    std::intptr_t switchLanguage(int code, std::uint64_t argument);
    std::intptr_t openLink(int code, std::uint64_t argument);
    std::intptr_t undo(int code, std::uint64_t argument);
    std::intptr_t redo(int code, std::uint64_t argument);
    std::intptr_t openCommandLineProject(int code, std::uint64_t argument);
    std::intptr_t linkWave(int code, std::uint64_t argument);
    std::intptr_t unlinkWave(int code, std::uint64_t argument);
    std::intptr_t importForeignShowRate(int code, std::uint64_t argument);
    std::intptr_t exportShowFile(int code, std::uint64_t argument);
    std::intptr_t openWizardOfCode(int code, std::uint64_t argument);
    std::intptr_t openEffectScreen(int code, std::uint64_t argument);
    std::intptr_t openFixtureScreen(int code, std::uint64_t argument);
    std::intptr_t combineProjects(int code, std::uint64_t argument);
    std::intptr_t loadEffectLibrary(int code, std::uint64_t argument);
    std::intptr_t storeEffectLibrary(int code, std::uint64_t argument);
    std::intptr_t importForeignEffects(int code, std::uint64_t argument);
    std::intptr_t storeFixtureLibrary(int code, std::uint64_t argument);
    std::intptr_t loadFixtureLibrary(int code, std::uint64_t argument);
    std::intptr_t autosave(int code, std::uint64_t argument);
    // Transport and show.
    std::intptr_t play(int code, std::uint64_t argument);
    std::intptr_t record(int code, std::uint64_t argument);
    std::intptr_t pause(int code, std::uint64_t argument);
    std::intptr_t stop(int code, std::uint64_t argument);
    std::intptr_t playPause(int code, std::uint64_t argument);
    std::intptr_t recordPause(int code, std::uint64_t argument);
    std::intptr_t dmxOff(int code, std::uint64_t argument);
    std::intptr_t arm(int code, std::uint64_t argument);
    std::intptr_t disarm(int code, std::uint64_t argument);
    std::intptr_t resetShow(int code, std::uint64_t argument);
    std::intptr_t selectGroup(int code, std::uint64_t argument);
    std::intptr_t seek(int code, std::uint64_t argument);
    std::intptr_t zoom(int code, std::uint64_t argument);
    std::intptr_t checkModule(int code, std::uint64_t argument);
    std::intptr_t speedStep(int code, std::uint64_t argument);
    // Cue editing.
    std::intptr_t deleteCues(int code, std::uint64_t argument);
    std::intptr_t recordPyroCue(int code, std::uint64_t argument);
    std::intptr_t recordDmxCue(int code, std::uint64_t argument);
    std::intptr_t selectAll(int code, std::uint64_t argument);
    std::intptr_t timecodeDelta(int code, std::uint64_t argument);
    std::intptr_t duplicateCues(int code, std::uint64_t argument);
    std::intptr_t addCue(int code, std::uint64_t argument);
    std::intptr_t setCueValue(int code, std::uint64_t argument);
    std::intptr_t autoAddress(int code, std::uint64_t argument);
    std::intptr_t stepCueSelection(int code, std::uint64_t argument);
    std::intptr_t resetCues(int code, std::uint64_t argument);
    // The library screens.
    std::intptr_t deleteLibraryItems(int code, std::uint64_t argument);
    std::intptr_t stepLibrarySelection(int code, std::uint64_t argument);

    Skyfirewright& window_;
};

}  // namespace GUIMain
