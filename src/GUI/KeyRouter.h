#pragma once

#include <QObject>
#include <cstdint>

class QKeyEvent;

namespace GUI {

// The key message's parts (kMessageKey): the press kinds in wParam and the modifier bits
// added to the virtual key in lParam. The key maps of the settings ("keys.%08X") store these
// codes.
inline constexpr int kKeyReleased = 0;
inline constexpr int kKeyPressed = 1;
inline constexpr int kKeyRepeated = 2;
inline constexpr std::uint32_t kKeyShift = 0x10000000;
inline constexpr std::uint32_t kKeyControl = 0x20000000;
inline constexpr std::uint32_t kKeyAlt = 0x40000000;

// Routes the keyboard through the key maps: every key the window system delivers reaches
// the active top-level window (Window::getActiveWindow) first as kMessageKey, before the
// widget with the focus sees it; a nonzero answer consumes the key, so a bound key works
// even while an edit field has the focus. Shift, Control and Alt alone are not routed.
//
// One router serves the whole application while it exists; make it after the application
// object, on the main thread.
class KeyRouter : public QObject {
public:
    KeyRouter();
    ~KeyRouter() override;
    KeyRouter(const KeyRouter&) = delete;
    KeyRouter& operator=(const KeyRouter&) = delete;

    // The key code of a key event: its virtual key plus the modifier bits; 0 for a key
    // that is not routed (no virtual key, or Shift, Control or Alt alone).
    static std::uint32_t keyCodeOf(const QKeyEvent& event);
    // The press kind of a key event: released, pressed, or repeated while held.
    static int pressKindOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace GUI
