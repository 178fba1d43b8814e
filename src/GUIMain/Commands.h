#pragma once

#include <cstdint>

#include "Platform/Message.h"

class QWidget;

namespace GUIMain {

// The command message: every button, panel, wizard and screen asks the main window for an
// action with it, and the key maps ("keys.%08X" and friends) store the same codes. wParam
// carries the command's argument (0 for most), lParam the code. The numbers are stored in
// users' key maps, so they never change.
inline constexpr std::uint32_t kCommandMessage = Platform::kMessageUser + 1;

namespace Command {
// Files, libraries and the application.
inline constexpr int kNewProject = 0;
inline constexpr int kOpenProject = 1;
inline constexpr int kImportForeignShow = 2;
inline constexpr int kSave = 3;
inline constexpr int kSaveAs = 4;
inline constexpr int kShowMode = 5;
inline constexpr int kCheckCues = 6;
inline constexpr int kLoadingListReport = 7;
inline constexpr int kExit = 8;
inline constexpr int kFirstRecentFile = 9;  // to 18
inline constexpr int kLastRecentFile = 18;
inline constexpr int kSwitchLanguage = 19;
inline constexpr int kOnlineManual = 20;
inline constexpr int kWebsite = 21;
inline constexpr int kUndo = 22;
inline constexpr int kRedo = 23;
inline constexpr int kOpenCommandLineProject = 24;
inline constexpr int kDeleteCues = 25;
inline constexpr int kRecordPyroCue = 26;
inline constexpr int kRecordDmxCue = 27;  // wParam 0 key down, 1 key up
inline constexpr int kPlay = 28;
inline constexpr int kRecord = 29;
inline constexpr int kPause = 30;
inline constexpr int kStop = 31;
inline constexpr int kPlayPause = 32;
inline constexpr int kRecordPause = 33;
inline constexpr int kSelectAll = 34;
inline constexpr int kLinkWave = 35;
inline constexpr int kUnlinkWave = 36;
inline constexpr int kFramePlus = 37;
inline constexpr int kSecondPlus = 39;
inline constexpr int kFrameMinus = 40;
inline constexpr int kSecondMinus = 42;
inline constexpr int kImportForeignShowRate = 43;  // wParam: the frame rate chosen
inline constexpr int kFireDmxOff = 44;
inline constexpr int kDuplicateCues = 45;
inline constexpr int kAddPyroCue = 46;
inline constexpr int kAddDmxCue = 47;
inline constexpr int kMakePyroCue = 48;
inline constexpr int kMakeDmxCue = 49;
inline constexpr int kDurationPlus1 = 50;  // to 55: +1, +5, +30, -1, -5, -30
inline constexpr int kDurationMinus30 = 55;
inline constexpr int kAutoAddress = 56;
inline constexpr int kArm = 57;  // wParam: firing channel + 1
inline constexpr int kDisarm = 58;
inline constexpr int kResetShow = 59;
inline constexpr int kSelectGroup = 60;  // wParam: the group
inline constexpr int kSeekPlus1s = 61;   // to 63: +1 s, +10 s, +60 s
inline constexpr int kSeekPlus60s = 63;
inline constexpr int kSeekMinus1s = 64;  // to 66: -1 s, -10 s, -60 s
inline constexpr int kSeekMinus60s = 66;
inline constexpr int kZoomIn = 67;
inline constexpr int kZoomOut = 68;
inline constexpr int kZoomToFit = 69;
inline constexpr int kCheckModule = 70;  // wParam: the module
inline constexpr int kSelectNext = 71;
inline constexpr int kExtendNext = 72;
inline constexpr int kSelectPrevious = 75;
inline constexpr int kExtendPrevious = 76;
inline constexpr int kExportShowFile = 79;
inline constexpr int kMinutePlus = 80;
inline constexpr int kHourPlus = 81;
inline constexpr int kMinuteMinus = 82;
inline constexpr int kHourMinus = 83;
inline constexpr int kMidiWizard = 84;
inline constexpr int kEffectScreen = 85;
inline constexpr int kReportsWizard = 87;
inline constexpr int kCombineProjects = 88;
inline constexpr int kAddReminderCue = 89;
inline constexpr int kPyroTypeSingle = 91;
inline constexpr int kPyroTypeDouble = 92;
inline constexpr int kDeleteEffects = 94;
inline constexpr int kNextEffect = 97;
inline constexpr int kPickEffect = 99;
inline constexpr int kLoadEffectLibrary = 100;
inline constexpr int kStoreEffectLibrary = 101;
inline constexpr int kImportForeignEffects = 102;
inline constexpr int kFixtureScreen = 103;
inline constexpr int kDeleteFixtures = 105;
inline constexpr int kStoreFixtureLibrary = 109;
inline constexpr int kNextFixture = 111;
inline constexpr int kNextChannel = 115;
inline constexpr int kLoadFixtureLibrary = 116;
inline constexpr int kPatchFixture = 117;
inline constexpr int kResetCues = 119;
inline constexpr int kChaseTypeSingle = 120;
inline constexpr int kChaseTypeDouble = 121;
inline constexpr int kFirstSpeedStep = 200;  // to 209
inline constexpr int kLastSpeedStep = 209;
inline constexpr int kAutosave = 300;
}  // namespace Command

// The window that takes command messages: the main window registers itself when it is
// created and clears the registration when it goes. Tests register a stand-in.
void setCommandTarget(QWidget* window);
QWidget* getCommandTarget();

// Sends the command message to the registered window and returns its answer (commands 3 and
// 4: nonzero when the project was saved); 0 when no window takes commands.
std::intptr_t sendCommand(int code, std::uint64_t argument = 0);
// The same, queued: it runs from the event loop after what is queued before it.
void postCommand(int code, std::uint64_t argument = 0);

}  // namespace GUIMain
