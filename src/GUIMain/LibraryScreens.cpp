#include "GUIMain/LibraryScreens.h"

#include "Platform/Log.h"

namespace GUIMain {

ILibraryScreen* openEffectScreen(GUI::Window& /*owner*/, int /*mode*/)
{
    Platform::logLine(L"The effect screen is not built yet");
    return nullptr;
}

ILibraryScreen* openFixtureScreen(GUI::Window& /*owner*/, int /*mode*/)
{
    Platform::logLine(L"The fixture screen is not built yet");
    return nullptr;
}

}  // namespace GUIMain
