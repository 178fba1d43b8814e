#pragma once

#include <cstdint>
#include <vector>

class QWidget;

namespace GUI {
class Window;
}

namespace GUIMain {

// The lists of the library screens whose order the main window's selection commands follow.
enum class LibraryList { kEffects, kFixtures, kChannels };

// One item of a library screen's list, as the screen shows it.
struct LibraryListEntry {
    std::int32_t id = 0;
    bool selected = false;
};

// What the main window needs of an open library screen (effect screen, fixture screen).
class ILibraryScreen {
public:
    virtual ~ILibraryScreen() = default;
    // The screen's top-level window; the screen goes with it.
    virtual QWidget* getWindow() const = 0;
    // The items of a list in the order the screen shows them (for the channels: those of the
    // fixture the screen shows); empty for a list the screen does not show.
    virtual std::vector<LibraryListEntry> getListOrder(LibraryList list) const = 0;
};

// Opens the effect screen (mode 0: edit the library; 1: pick an effect for the selected cues)
// or the fixture screen (mode 0: edit the presets; 1: patch the selected cues) as a window
// owned by `owner`. Null when the screen is not built yet.
ILibraryScreen* openEffectScreen(GUI::Window& owner, int mode);
ILibraryScreen* openFixtureScreen(GUI::Window& owner, int mode);

}  // namespace GUIMain
