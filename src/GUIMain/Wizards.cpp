#include "GUIMain/Wizards.h"

#include "Platform/Log.h"

namespace GUIMain {

bool openWizard(WizardKind kind, GUI::Window& /*owner*/)
{
    Platform::logLine(L"Wizard " + std::to_wstring(static_cast<int>(kind)) + L" is not built yet");
    return false;
}

}  // namespace GUIMain
