#include "GUIMain/CommandDispatcher.h"

#include <QDesktopServices>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <unordered_map>

#include "Audio/AudioPlayer.h"
#include "Config/RecentFiles.h"
#include "Config/Settings.h"
#include "Controller/Controller.h"
#include "GUIMain/Commands.h"
#include "GUIMain/CueListView.h"
#include "GUIMain/ExternalLinks.h"
#include "GUIMain/Header.h"
#include "GUIMain/LibraryScreens.h"
#include "GUIMain/SelectionStep.h"
#include "GUIMain/Skyfirewright.h"
#include "GUIMain/Timeline.h"
#include "GUIMain/Wizards.h"
#include "PDF/OperationSaveReport.h"
#include "Platform/MessageBoxService.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationAutoSetPyroAddresses.h"
#include "Project/Operations/OperationCombineProject.h"
#include "Project/Operations/OperationCueTimecodes.h"
#include "Project/Operations/OperationDeleteCueSelection.h"
#include "Project/Operations/OperationDeleteEffectSelection.h"
#include "Project/Operations/OperationDeleteFixtureSelection.h"
#include "Project/Operations/OperationDuplicateCue.h"
#include "Project/Operations/OperationImportEffectFile.h"
#include "Project/Operations/OperationImportSCX.h"
#include "Project/Operations/OperationLinkWave.h"
#include "Project/Operations/OperationLoadEffectListFromLocalFile.h"
#include "Project/Operations/OperationLoadFixtureListFromLocalFile.h"
#include "Project/Operations/OperationOpenProject.h"
#include "Project/Operations/OperationResetCue.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/Operations/OperationSaveQuelist.h"
#include "Project/Operations/OperationSelectAll.h"
#include "Project/Operations/OperationSelection.h"
#include "Project/Operations/OperationSelectionChannelsFixture.h"
#include "Project/Operations/OperationSelectionEffect.h"
#include "Project/Operations/OperationSelectionFixture.h"
#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Operations/OperationStoreEffectListToLocalFile.h"
#include "Project/Operations/OperationStoreFixtureListToLocalFile.h"
#include "Show/ShowSession.h"

namespace GUIMain {

namespace {

using D = CommandDispatcher;
using Answer = Platform::MessageBoxService::Answer;
using Buttons = Platform::MessageBoxService::Buttons;
using Icon = Platform::MessageBoxService::Icon;
using P = Precondition;

template <typename Rows>
constexpr bool rowsAreOrdered(const Rows& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].first > rows[i].last) {
            return false;
        }
        if (i > 0 && rows[i - 1].last >= rows[i].first) {
            return false;
        }
    }
    return true;
}

Project::Project& project()
{
    return *Project::Project::getInstance();
}

Project::ProjectState& state()
{
    return project().getProjectState();
}

constexpr int kDmxOffWord = static_cast<int>(0x92000000u);

}  // namespace

std::span<const CommandDispatcher::Row> CommandDispatcher::rows()
{
    // Ordered by code, so that a code's row is found by a binary search.
    static constexpr std::array kRows{
        D::Row{0, 0, P::kIdle, &D::newProject},
        D::Row{1, 1, P::kIdle, &D::openProject},
        D::Row{2, 2, P::kIdle, &D::importForeignShow},
        D::Row{3, 3, P::kOpen, &D::save},
        D::Row{4, 4, P::kOpen, &D::saveAs},
        D::Row{5, 5, P::kOpen, &D::showMode},
        D::Row{6, 6, P::kOpen, &D::checkCues},
        D::Row{7, 7, P::kOpen, &D::loadingListReport},
        D::Row{8, 8, P::kNone, &D::exit},
        D::Row{9, 18, P::kIdle, &D::openRecentFile},
        D::Row{19, 19, P::kNone, &D::switchLanguage},
        D::Row{20, 21, P::kNone, &D::openLink},
        D::Row{22, 22, P::kEdit, &D::undo},
        D::Row{23, 23, P::kEdit, &D::redo},
        D::Row{24, 24, P::kNone, &D::openCommandLineProject},
        D::Row{25, 25, P::kEdit, &D::deleteCues},
        D::Row{26, 26, P::kEdit, &D::recordPyroCue},
        D::Row{27, 27, P::kEdit, &D::recordDmxCue},
        D::Row{28, 28, P::kOpen, &D::play},
        D::Row{29, 29, P::kOpen, &D::record},
        D::Row{30, 30, P::kOpen, &D::pause},
        D::Row{31, 31, P::kOpen, &D::stop},
        D::Row{32, 32, P::kOpen, &D::playPause},
        D::Row{33, 33, P::kOpen, &D::recordPause},
        D::Row{34, 34, P::kOpen, &D::selectAll},
        D::Row{35, 35, P::kEdit, &D::linkWave},
        D::Row{36, 36, P::kEdit, &D::unlinkWave},
        D::Row{37, 37, P::kEdit, &D::timecodeDelta},
        D::Row{39, 40, P::kEdit, &D::timecodeDelta},
        D::Row{42, 42, P::kEdit, &D::timecodeDelta},
        D::Row{43, 43, P::kNone, &D::importForeignShowRate},
        D::Row{44, 44, P::kShow, &D::dmxOff},
        D::Row{45, 45, P::kEdit, &D::duplicateCues},
        D::Row{46, 47, P::kEdit, &D::addCue},
        D::Row{48, 55, P::kEdit, &D::setCueValue},
        D::Row{56, 56, P::kEdit, &D::autoAddress},
        D::Row{57, 57, P::kShow, &D::arm},
        D::Row{58, 58, P::kShow, &D::disarm},
        D::Row{59, 59, P::kShow, &D::resetShow},
        D::Row{60, 60, P::kShow, &D::selectGroup},
        D::Row{61, 66, P::kOpen, &D::seek},
        D::Row{67, 69, P::kOpen, &D::zoom},
        D::Row{70, 70, P::kShowAndModuleCheck, &D::checkModule},
        D::Row{71, 72, P::kEdit, &D::stepCueSelection},
        D::Row{75, 76, P::kEdit, &D::stepCueSelection},
        D::Row{79, 79, P::kOpen, &D::exportShowFile},
        D::Row{80, 83, P::kEdit, &D::timecodeDelta},
        D::Row{84, 84, P::kIdle, &D::openWizardOfCode},
        D::Row{85, 85, P::kIdle, &D::openEffectScreen},
        D::Row{87, 87, P::kIdle, &D::openWizardOfCode},
        D::Row{88, 88, P::kIdle, &D::combineProjects},
        D::Row{89, 89, P::kEdit, &D::addCue},
        D::Row{91, 92, P::kEdit, &D::setCueValue},
        D::Row{94, 94, P::kNone, &D::deleteLibraryItems},
        D::Row{97, 97, P::kNone, &D::stepLibrarySelection},
        D::Row{99, 99, P::kIdle, &D::openEffectScreen},
        D::Row{100, 100, P::kNone, &D::loadEffectLibrary},
        D::Row{101, 101, P::kNone, &D::storeEffectLibrary},
        D::Row{102, 102, P::kNone, &D::importForeignEffects},
        D::Row{103, 103, P::kNone, &D::openFixtureScreen},
        D::Row{105, 105, P::kNone, &D::deleteLibraryItems},
        D::Row{109, 109, P::kNone, &D::storeFixtureLibrary},
        D::Row{111, 111, P::kNone, &D::stepLibrarySelection},
        D::Row{115, 115, P::kNone, &D::stepLibrarySelection},
        D::Row{116, 116, P::kNone, &D::loadFixtureLibrary},
        D::Row{117, 117, P::kIdle, &D::openFixtureScreen},
        D::Row{119, 119, P::kOpen, &D::resetCues},
        D::Row{120, 121, P::kEdit, &D::setCueValue},
        D::Row{200, 209, P::kPlayingOrRecordRequested, &D::speedStep},
        D::Row{300, 300, P::kOpen, &D::autosave},
    };
    static_assert(rowsAreOrdered(kRows),
                  "command rows must be ordered by code and must not overlap");
    return kRows;
}

CommandDispatcher::CommandDispatcher(Skyfirewright& window) : window_(window) {}

const CommandDispatcher::Row* CommandDispatcher::findRow(int code)
{
    const std::span<const Row> table = rows();
    const auto it = std::lower_bound(table.begin(), table.end(), code,
                                     [](const Row& row, int c) { return row.last < c; });
    if (it == table.end() || code < it->first) {
        return nullptr;
    }
    return &*it;
}

bool CommandDispatcher::holds(Precondition precondition) const
{
    Project::Project* p = Project::Project::getInstance();
    if (p == nullptr) {
        return false;
    }
    const bool open = p->isProjectOpen();
    const bool show = p->getProjectState().isShowMode();
    switch (precondition) {
        case P::kNone: return true;
        case P::kOpen: return open;
        case P::kEdit: return open && !show;
        case P::kShow: return show;
        case P::kIdle: return !show;
        case P::kShowAndModuleCheck:
            return show && (window_.session().controller().getStatus() & 1) != 0;
        case P::kPlayingOrRecordRequested:
            return window_.session().player().getState() == Audio::AudioPlayer::STATE_PLAYING ||
                   p->getProjectState().getRecordRequest();
    }
    return false;
}

std::intptr_t CommandDispatcher::dispatch(int code, std::uint64_t argument)
{
    const Row* row = findRow(code);
    if (row == nullptr || !holds(row->precondition)) {
        return 0;
    }
    return (this->*(row->action))(code, argument);
}

int CommandDispatcher::timecodeDeltaOf(int code, int format)
{
    const double f = SMPTE::framesPerSecond(format);
    switch (code) {
        case Command::kFramePlus: return 1;
        case Command::kFrameMinus: return -1;
        case Command::kSecondPlus: return static_cast<int>(std::trunc(f));
        case Command::kSecondMinus: return static_cast<int>(std::trunc(-f));
        case Command::kMinutePlus: return 60 * static_cast<int>(std::trunc(f));
        case Command::kHourPlus: return 3600 * static_cast<int>(std::trunc(f));
        case Command::kMinuteMinus: return static_cast<int>(std::trunc((-f) * 60));
        case Command::kHourMinus: return static_cast<int>(std::trunc(((-f) * 60) * 60));
        default: return 0;
    }
}

bool CommandDispatcher::submit(Project::IOperation* operation)
{
    return project().submit(operation);
}

bool CommandDispatcher::submitAndZoom(Project::IOperation* operation)
{
    if (!submit(operation)) {
        return false;
    }
    zoomToFit();
    return true;
}

bool CommandDispatcher::saveQuestionAllows()
{
    return window_.askSaveQuestion() == Skyfirewright::Answer::kGoAhead;
}

void CommandDispatcher::zoomToFit()
{
    if (Header* header = window_.getHeader(); header && header->getTimeline()) {
        header->getTimeline()->zoomToFit();
    }
}

// --- files, libraries and the application ----------------------------------------------

std::intptr_t CommandDispatcher::newProject(int, std::uint64_t)
{
    if (saveQuestionAllows()) {
        openWizard(WizardKind::kNewProject, window_);
    }
    return 0;
}

std::intptr_t CommandDispatcher::openProject(int, std::uint64_t)
{
    if (!saveQuestionAllows()) {
        return 0;
    }
    const std::wstring path = window_.fileDialogs().open(3, window_.getHandle());
    if (!path.empty()) {
        submitAndZoom(new Project::OperationOpenProject(path));
    }
    return 0;
}

std::intptr_t CommandDispatcher::importForeignShow(int, std::uint64_t)
{
    if (!saveQuestionAllows()) {
        return 0;
    }
    const std::wstring path = window_.fileDialogs().open(2, window_.getHandle());
    window_.setForeignShowPath(path);
    if (!path.empty()) {
        submitAndZoom(new Project::OperationImportSCX(path, 0));
    }
    return 0;
}

std::intptr_t CommandDispatcher::save(int, std::uint64_t)
{
    if (project().isUntitled() || project().getFileName().empty()) {
        return dispatch(Command::kSaveAs, 0);
    }
    return submit(new Project::OperationSaveProject(project().getFileName())) ? 1 : 0;
}

std::intptr_t CommandDispatcher::saveAs(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().save(3, window_.getHandle());
    if (path.empty()) {
        return 0;
    }
    return submit(new Project::OperationSaveProject(path)) ? 1 : 0;
}

std::intptr_t CommandDispatcher::showMode(int, std::uint64_t)
{
    if (!state().isShowMode()) {
        openWizard(WizardKind::kShowMode, window_);
        return 0;
    }
    if (window_.askExitShowModeQuestion() == Skyfirewright::Answer::kGoAhead) {
        const Show::ShowEnd end = window_.session().leaveShowMode();
        if (end.wasConnected && !end.disarmConfirmed) {
            // The device may still be armed: that must not pass unnoticed.
            window_.ask(L"ERROR.USB_DISARM_NOT_CONFIRMED", L"WINDOW.ERROR", Buttons::kOk,
                        Icon::kError);
        }
    }
    return 0;
}

std::intptr_t CommandDispatcher::checkCues(int, std::uint64_t)
{
    openWizard(WizardKind::kCheckCues, window_);
    return 0;
}

std::intptr_t CommandDispatcher::loadingListReport(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().save(4, window_.getHandle());
    if (path.empty()) {
        return 0;
    }
    if (submit(new PDF::OperationSaveReport(path, PDF::OperationSaveReport::Kind::LOAD))) {
        openExternal(QUrl::fromLocalFile(QString::fromStdWString(path)));
    }
    return 0;
}

std::intptr_t CommandDispatcher::exit(int, std::uint64_t)
{
    window_.requestClose();
    return 0;
}

std::intptr_t CommandDispatcher::openRecentFile(int code, std::uint64_t)
{
    Config::Settings* settings = Config::Settings::getInstance();
    if (settings == nullptr) {
        return 0;
    }
    const int index = code - Command::kFirstRecentFile;
    const std::wstring path = settings->getRecentFiles().getEntry(index);
    if (path.empty() || !saveQuestionAllows()) {
        return 0;
    }
    if (!submitAndZoom(new Project::OperationOpenProject(path))) {
        // The failure was reported; an entry that cannot be opened is dropped. The list may
        // have moved meanwhile, so the entry is found by its path.
        Config::RecentFiles& recent = settings->getRecentFiles();
        for (int n = 0; n < Config::RecentFiles::kMaxEntries; ++n) {
            if (recent.getEntry(n) == path) {
                recent.remove(n);
                break;
            }
        }
    }
    return 0;
}

std::intptr_t CommandDispatcher::switchLanguage(int, std::uint64_t)
{
    Platform::MessageBoxService::Request request;
    request.text =
        L"EN: Switching language requires Skyfirewright to restart. Are you sure?\n\n"
        L"NL: Om over te schakelen op een andere taal moet Skyfirewright opnieuw opgestart "
        L"worden. Weet u zeker dat u door wilt gaan?";
    request.caption = L"Skyfirewright";
    request.buttons = Buttons::kYesNo;
    request.icon = Icon::kQuestion;
    request.owner = window_.getHandle();
    if (window_.messageBoxes().ask(request) != Answer::kYes) {
        return 0;
    }
    if (Config::Settings* settings = Config::Settings::getInstance()) {
        const std::wstring current = settings->getString(L"locale", L"undefined");
        settings->setString(L"locale", current == L"en-us" ? L"nl-nl" : L"en-us");
    }
    window_.requestRestart();
    postCommand(Command::kExit);
    return 0;
}

std::intptr_t CommandDispatcher::openLink(int code, std::uint64_t)
{
    openExternal(QUrl(
        QString::fromLatin1(code == Command::kOnlineManual ? kManualAddress : kWebsiteAddress)));
    return 0;
}

std::intptr_t CommandDispatcher::undo(int, std::uint64_t)
{
    return project().undo() ? 1 : 0;
}

std::intptr_t CommandDispatcher::redo(int, std::uint64_t)
{
    return project().redo() ? 1 : 0;
}

std::intptr_t CommandDispatcher::openCommandLineProject(int, std::uint64_t)
{
    submitAndZoom(new Project::OperationOpenProject(window_.getCommandLineFile()));
    return 0;
}

std::intptr_t CommandDispatcher::linkWave(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().open(1, window_.getHandle());
    if (!path.empty()) {
        submit(new Project::OperationLinkWave(path));
    }
    return 0;
}

std::intptr_t CommandDispatcher::unlinkWave(int, std::uint64_t)
{
    submit(new Project::OperationUnlinkWave());
    return 0;
}

std::intptr_t CommandDispatcher::importForeignShowRate(int, std::uint64_t argument)
{
    submitAndZoom(
        new Project::OperationImportSCX(window_.getForeignShowPath(), static_cast<int>(argument)));
    return 0;
}

std::intptr_t CommandDispatcher::exportShowFile(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().save(5, window_.getHandle());
    if (!path.empty()) {
        submit(new Project::OperationSaveQuelist(path));
    }
    return 0;
}

std::intptr_t CommandDispatcher::openWizardOfCode(int code, std::uint64_t)
{
    openWizard(code == Command::kMidiWizard ? WizardKind::kMidi : WizardKind::kReports, window_);
    return 0;
}

std::intptr_t CommandDispatcher::openEffectScreen(int code, std::uint64_t)
{
    window_.rememberEffectScreen(
        GUIMain::openEffectScreen(window_, code == Command::kPickEffect ? 1 : 0));
    return 0;
}

std::intptr_t CommandDispatcher::openFixtureScreen(int code, std::uint64_t)
{
    window_.rememberFixtureScreen(
        GUIMain::openFixtureScreen(window_, code == Command::kPatchFixture ? 1 : 0));
    return 0;
}

std::intptr_t CommandDispatcher::combineProjects(int, std::uint64_t)
{
    std::vector<std::wstring> files = window_.fileDialogs().openSeveral(3, window_.getHandle());
    if (!files.empty()) {
        submitAndZoom(new Project::OperationCombineProject(std::move(files)));
    }
    return 0;
}

std::intptr_t CommandDispatcher::loadEffectLibrary(int, std::uint64_t)
{
    submit(new Project::OperationLoadEffectListFromLocalFile(window_.getCommandLineFile()));
    return 0;
}

std::intptr_t CommandDispatcher::storeEffectLibrary(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().save(8, window_.getHandle());
    if (!path.empty()) {
        submit(new Project::OperationStoreEffectListToLocalFile(path));
    }
    return 0;
}

std::intptr_t CommandDispatcher::importForeignEffects(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().open(7, window_.getHandle());
    if (!path.empty()) {
        submitAndZoom(new Project::OperationImportEffectFile(path));
    }
    return 0;
}

std::intptr_t CommandDispatcher::storeFixtureLibrary(int, std::uint64_t)
{
    const std::wstring path = window_.fileDialogs().save(9, window_.getHandle());
    if (!path.empty()) {
        submit(new Project::OperationStoreFixtureListToLocalFile(path));
    }
    return 0;
}

std::intptr_t CommandDispatcher::loadFixtureLibrary(int, std::uint64_t)
{
    submit(new Project::OperationLoadFixtureListFromLocalFile(window_.getCommandLineFile()));
    return 0;
}

std::intptr_t CommandDispatcher::autosave(int, std::uint64_t)
{
    if (!project().isModified()) {
        return 0;
    }
    switch (window_.getAutosaveAnswer()) {
        case 0: return 0;
        case 1: break;
        default: {
            window_.setAutosaveAnswer(0);
            if (window_.ask(L"WINDOW.AUTOSAVE_CHANGES_EX", L"WINDOW.AUTOSAVE_CHANGES",
                            Buttons::kYesNo, Icon::kWarning) != Answer::kYes) {
                return 0;
            }
            window_.setAutosaveAnswer(1);
            // Saved now; the timer saves from here on.
            return dispatch(Command::kSave, 0);
        }
    }
    return dispatch(Command::kSave, 0);
}

// --- transport and show ----------------------------------------------------------------

std::intptr_t CommandDispatcher::play(int, std::uint64_t)
{
    state().setRecordRequest(false);
    return state().play() ? 1 : 0;
}

std::intptr_t CommandDispatcher::record(int, std::uint64_t)
{
    state().setRecordRequest(true);
    if (!state().isShowMode() && state().getClockMode() == 0) {
        window_.session().player().playRecording();
    }
    return 0;
}

std::intptr_t CommandDispatcher::pause(int, std::uint64_t)
{
    state().setRecordRequest(false);
    return state().pause() ? 1 : 0;
}

std::intptr_t CommandDispatcher::stop(int, std::uint64_t)
{
    state().setRecordRequest(false);
    return state().stop() ? 1 : 0;
}

std::intptr_t CommandDispatcher::playPause(int, std::uint64_t)
{
    if (state().isRecording() || state().isStopped()) {
        return play(Command::kPlay, 0);
    }
    return pause(Command::kPause, 0);
}

std::intptr_t CommandDispatcher::recordPause(int, std::uint64_t)
{
    if (state().isRecording() && !state().isStopped()) {
        return pause(Command::kPause, 0);
    }
    if (!state().isShowMode() && state().getClockMode() == 0) {
        window_.session().player().playRecording();
    }
    return 0;
}

std::intptr_t CommandDispatcher::dmxOff(int, std::uint64_t)
{
    return window_.session().controller().execute({static_cast<std::uint32_t>(kDmxOffWord)}) ? 1
                                                                                             : 0;
}

std::intptr_t CommandDispatcher::arm(int, std::uint64_t argument)
{
    const std::int64_t channel = static_cast<std::int64_t>(argument) - 1;
    return window_.session().arm(channel >= 0 && channel <= 127 ? static_cast<int>(channel) : 128)
               ? 1
               : 0;
}

std::intptr_t CommandDispatcher::disarm(int, std::uint64_t)
{
    return window_.session().disarm() ? 1 : 0;
}

std::intptr_t CommandDispatcher::resetShow(int, std::uint64_t)
{
    if (window_.ask(L"WINDOW.SHOW_MODE_RESET_EX", L"WINDOW.SHOW_MODE_RESET", Buttons::kOkCancel,
                    Icon::kQuestion) == Answer::kOk) {
        state().stop();
        window_.session().controller().resetStates();
    }
    return 0;
}

std::intptr_t CommandDispatcher::selectGroup(int, std::uint64_t argument)
{
    window_.session().controller().selectGroup(static_cast<int>(argument));
    return 0;
}

std::intptr_t CommandDispatcher::seek(int code, std::uint64_t)
{
    static constexpr std::array<double, 3> kSteps{1000.0, 10000.0, 60000.0};
    const bool forward = code <= Command::kSeekPlus60s;
    const double step = kSteps[static_cast<std::size_t>(
        code - (forward ? Command::kSeekPlus1s : Command::kSeekMinus1s))];
    SMPTE target = state().getPosition();
    target.setMilliseconds(std::max(0.0, target.getMilliseconds() + (forward ? step : -step)));
    return state().locate(target) ? 1 : 0;
}

std::intptr_t CommandDispatcher::zoom(int code, std::uint64_t)
{
    Header* header = window_.getHeader();
    Timeline* timeline = header ? header->getTimeline() : nullptr;
    if (timeline == nullptr) {
        return 0;
    }
    if (code == Command::kZoomIn) {
        timeline->zoomIn();
    } else if (code == Command::kZoomOut) {
        timeline->zoomOut();
    } else {
        timeline->zoomToFit();
    }
    return 0;
}

std::intptr_t CommandDispatcher::checkModule(int, std::uint64_t argument)
{
    return window_.session().controller().checkModule(static_cast<int>(argument));
}

std::intptr_t CommandDispatcher::speedStep(int code, std::uint64_t)
{
    window_.session().player().setSpeed(code - Command::kFirstSpeedStep);
    return 0;
}

// --- cue editing -----------------------------------------------------------------------

std::intptr_t CommandDispatcher::deleteCues(int, std::uint64_t)
{
    return submit(new Project::OperationDeleteCueSelection()) ? 1 : 0;
}

std::intptr_t CommandDispatcher::recordPyroCue(int, std::uint64_t)
{
    if (!state().isRecording()) {
        return 0;
    }
    return submit(new Project::OperationAddPyroCue(state().getPosition())) ? 1 : 0;
}

std::intptr_t CommandDispatcher::recordDmxCue(int, std::uint64_t argument)
{
    if (!state().isRecording()) {
        return 0;
    }
    if (argument == 0) {
        window_.setDmxHoldStart(state().getPosition());
        return 0;
    }
    return submit(new Project::OperationAddDMXCue(window_.getDmxHoldStart(), state().getPosition()))
               ? 1
               : 0;
}

std::intptr_t CommandDispatcher::selectAll(int, std::uint64_t)
{
    const Project::CueList& cues = project().getProjectData().getCueList();
    bool anyUnselected = false;
    for (const auto* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (!cue->isSelected()) {
            anyUnselected = true;
            break;
        }
    }
    return submit(new Project::OperationSelectAll(anyUnselected)) ? 1 : 0;
}

std::intptr_t CommandDispatcher::timecodeDelta(int code, std::uint64_t)
{
    const int delta = timecodeDeltaOf(code, project().getProjectData().getFormat());
    return submit(new Project::OperationTimecodeDelta(delta)) ? 1 : 0;
}

std::intptr_t CommandDispatcher::duplicateCues(int, std::uint64_t)
{
    return submit(new Project::OperationDuplicateCue()) ? 1 : 0;
}

std::intptr_t CommandDispatcher::addCue(int code, std::uint64_t)
{
    const SMPTE& position = state().getPosition();
    Project::IOperation* operation = nullptr;
    if (code == Command::kAddPyroCue) {
        operation = new Project::OperationAddPyroCue(position);
    } else if (code == Command::kAddDmxCue) {
        operation = new Project::OperationAddDMXCue(position, position);
    } else {
        operation = new Project::OperationAddReminderCue(position);
    }
    return submit(operation) ? 1 : 0;
}

std::intptr_t CommandDispatcher::setCueValue(int code, std::uint64_t)
{
    using V = Project::OperationSetCueValue;
    static constexpr std::array<int, 6> kDurationSteps{1, 5, 30, -1, -5, -30};
    V* operation = nullptr;
    switch (code) {
        case Command::kMakePyroCue:
            operation =
                new V(V::COMMAND_WORD,
                      static_cast<int>(
                          Project::CueCommand(Project::CueCommand::TYPE_PYRO).toCommandWord()));
            break;
        case Command::kMakeDmxCue:
            operation =
                new V(V::COMMAND_WORD,
                      static_cast<int>(
                          Project::CueCommand(Project::CueCommand::TYPE_DMX512).toCommandWord()));
            break;
        case Command::kPyroTypeSingle: operation = new V(V::PYRO_TYPE, 1); break;
        case Command::kPyroTypeDouble: operation = new V(V::PYRO_TYPE, 2); break;
        case Command::kChaseTypeSingle: operation = new V(V::DMX_CHASE_PATH, 1); break;
        case Command::kChaseTypeDouble: operation = new V(V::DMX_CHASE_PATH, 2); break;
        default:
            operation = new V(
                V::DURATION,
                kDurationSteps[static_cast<std::size_t>(code - Command::kDurationPlus1)], true);
            break;
    }
    return submit(operation) ? 1 : 0;
}

std::intptr_t CommandDispatcher::autoAddress(int, std::uint64_t)
{
    CueListView* view = window_.getCueListView();
    if (view == nullptr) {
        return 0;
    }
    return submit(new Project::OperationAutoSetPyroAddresses(view->getCueIdsInViewOrder())) ? 1 : 0;
}

std::intptr_t CommandDispatcher::stepCueSelection(int code, std::uint64_t)
{
    CueListView* view = window_.getCueListView();
    if (view == nullptr) {
        return 0;
    }
    const Project::CueList& cues = project().getProjectData().getCueList();
    std::unordered_map<int, bool> selected;
    selected.reserve(static_cast<std::size_t>(cues.getCount()));
    for (const auto* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        selected.emplace(cue->getId(), cue->isSelected());
    }
    std::vector<SelectableItem> order;
    for (int id : view->getCueIdsInViewOrder()) {
        const auto it = selected.find(id);
        order.push_back({id, it != selected.end() && it->second});
    }
    const bool forward = code == Command::kSelectNext || code == Command::kExtendNext;
    const bool extend = code == Command::kExtendNext || code == Command::kExtendPrevious;
    std::map<int, bool> changes = stepSelection(order, forward, extend);
    if (changes.empty()) {
        return 0;
    }
    return submit(new Project::OperationSelection(std::move(changes))) ? 1 : 0;
}

std::intptr_t CommandDispatcher::resetCues(int, std::uint64_t)
{
    return submit(new Project::OperationResetCue()) ? 1 : 0;
}

// --- the library screens ---------------------------------------------------------------

std::intptr_t CommandDispatcher::deleteLibraryItems(int code, std::uint64_t)
{
    if (code == Command::kDeleteEffects) {
        if (window_.getEffectScreen() != nullptr) {
            submit(new Project::OperationDeleteEffectSelection());
        }
    } else if (window_.getFixtureScreen() != nullptr) {
        submit(new Project::OperationDeleteFixtureSelection());
    }
    return 0;
}

std::intptr_t CommandDispatcher::stepLibrarySelection(int code, std::uint64_t)
{
    ILibraryScreen* screen =
        code == Command::kNextEffect ? window_.getEffectScreen() : window_.getFixtureScreen();
    if (screen == nullptr) {
        return 0;
    }
    const LibraryList list = code == Command::kNextEffect    ? LibraryList::kEffects
                             : code == Command::kNextFixture ? LibraryList::kFixtures
                                                             : LibraryList::kChannels;
    std::vector<SelectableItem> order;
    for (const LibraryListEntry& entry : screen->getListOrder(list)) {
        order.push_back({entry.id, entry.selected});
    }
    std::map<int, bool> changes = stepSelection(order, true, false);
    if (changes.empty()) {
        return 0;
    }
    std::map<std::int32_t, bool> flags(changes.begin(), changes.end());
    if (list == LibraryList::kEffects) {
        submit(new Project::OperationSelectionEffect(std::move(flags)));
    } else if (list == LibraryList::kFixtures) {
        submit(new Project::OperationSelectionFixture(std::move(flags)));
    } else {
        submit(new Project::OperationSelectionChannelsFixture(std::move(flags)));
    }
    return 0;
}

}  // namespace GUIMain
