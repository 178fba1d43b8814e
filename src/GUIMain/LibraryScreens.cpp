#include "GUIMain/LibraryScreens.h"

#include "GUIMain/EffectScreen.h"
#include "GUIMain/FixtureScreen.h"
#include "GUIMain/Skyfirewright.h"
#include "Platform/Log.h"

namespace GUIMain {

namespace {

Skyfirewright* mainWindowOf(GUI::Window& owner)
{
    auto* window = dynamic_cast<Skyfirewright*>(&owner);
    if (window == nullptr) {
        Platform::logLine(L"A library screen needs the main window as its owner");
    }
    return window;
}

}  // namespace

ILibraryScreen* openEffectScreen(GUI::Window& owner, int mode)
{
    Skyfirewright* window = mainWindowOf(owner);
    return window != nullptr ? EffectScreen::open(*window, mode) : nullptr;
}

ILibraryScreen* openFixtureScreen(GUI::Window& owner, int mode)
{
    Skyfirewright* window = mainWindowOf(owner);
    return window != nullptr ? FixtureScreen::open(*window, mode) : nullptr;
}

}  // namespace GUIMain
