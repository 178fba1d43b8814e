#pragma once

namespace GUI {
class Window;
}

namespace GUIMain {

// The wizards the main window opens.
enum class WizardKind {
    kNewProject,         // command 0
    kShowMode,           // command 5, outside show mode
    kCheckCues,          // command 6: the show-mode wizard's check page only
    kMidi,               // command 84
    kReports,            // command 87
    kForeignShowFormat,  // after command 2, when the foreign show's frame rate is not certain
};

// Opens a wizard as a window owned by `owner`; false when that wizard is not built yet.
bool openWizard(WizardKind kind, GUI::Window& owner);

}  // namespace GUIMain
