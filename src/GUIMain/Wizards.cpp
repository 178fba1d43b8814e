#include "GUIMain/Wizards.h"

#include "GUIMain/Skyfirewright.h"
#include "GUIMain/Wizard.h"

namespace GUIMain {

bool openWizard(WizardKind kind, GUI::Window& owner)
{
    Wizard::Kind wizardKind = Wizard::KIND_SHOW;
    switch (kind) {
        case WizardKind::kNewProject: wizardKind = Wizard::KIND_NEW_PROJECT; break;
        case WizardKind::kShowMode: wizardKind = Wizard::KIND_SHOW; break;
        case WizardKind::kCheckCues: wizardKind = Wizard::KIND_SHOW_CHECK; break;
        case WizardKind::kMidi: wizardKind = Wizard::KIND_MIDI; break;
        case WizardKind::kReports: wizardKind = Wizard::KIND_REPORTS; break;
        case WizardKind::kForeignShowFormat: wizardKind = Wizard::KIND_SCX_FORMAT; break;
    }
    // The wizard deletes itself when its window goes.
    auto* wizard = new Wizard(wizardKind, static_cast<Skyfirewright&>(owner));
    wizard->open();
    return true;
}

}  // namespace GUIMain
