#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <cstdint>

#include "Platform/Message.h"

namespace GUI {

// The messages a component handles. The codes keep the window system's numbers, so a message
// reads the same in a trace and in the panels that send their own from kMessageUser up.
inline constexpr std::uint32_t kMessageCreate = 0x0001;
inline constexpr std::uint32_t kMessageDestroy = 0x0002;
inline constexpr std::uint32_t kMessageMove = 0x0003;
inline constexpr std::uint32_t kMessageSize = 0x0005;      // size: the new client size
inline constexpr std::uint32_t kMessageActivate = 0x0006;  // wParam: 1 activated, 0 not
inline constexpr std::uint32_t kMessageSetFocus = 0x0007;
inline constexpr std::uint32_t kMessageKillFocus = 0x0008;
inline constexpr std::uint32_t kMessageEnable = 0x000A;  // wParam: 1 enabled, 0 disabled
inline constexpr std::uint32_t kMessagePaint = 0x000F;
inline constexpr std::uint32_t kMessageClose = 0x0010;
inline constexpr std::uint32_t kMessageShowWindow = 0x0018;  // wParam: 1 shown, 0 hidden
inline constexpr std::uint32_t kMessageNotify = 0x004E;      // window: sender, wParam: code
inline constexpr std::uint32_t kMessageDisplayChange = 0x007E;
inline constexpr std::uint32_t kMessageKeyDown = 0x0100;  // key, modifiers, autoRepeat
inline constexpr std::uint32_t kMessageKeyUp = 0x0101;
inline constexpr std::uint32_t kMessageChar = 0x0102;     // character
inline constexpr std::uint32_t kMessageCommand = 0x0111;  // window: sender, wParam: code
inline constexpr std::uint32_t kMessageTimer = Platform::kMessageTimer;  // wParam: timer id
// Mouse messages carry the position, the buttons held and the modifiers held.
inline constexpr std::uint32_t kMessageMouseMove = 0x0200;
inline constexpr std::uint32_t kMessageLButtonDown = 0x0201;
inline constexpr std::uint32_t kMessageLButtonUp = 0x0202;
inline constexpr std::uint32_t kMessageRButtonDown = 0x0204;
inline constexpr std::uint32_t kMessageRButtonUp = 0x0205;
inline constexpr std::uint32_t kMessageMButtonDown = 0x0207;
inline constexpr std::uint32_t kMessageMButtonUp = 0x0208;
// wheelDelta: 120 a notch. A turn a component leaves to the default handling goes on to its
// parent, and so on up to the top-level window.
inline constexpr std::uint32_t kMessageMouseWheel = 0x020A;
inline constexpr std::uint32_t kMessageMouseLeave = 0x02A3;
// A key for the key maps, sent by the key router (KeyRouter) to the active top-level window
// before the focused widget sees the key: lParam the key code (a virtual key plus
// kKeyShift, kKeyControl and kKeyAlt), wParam the press kind (kKeyReleased, kKeyPressed,
// kKeyRepeated). A nonzero result consumes the key: nothing else sees it.
inline constexpr std::uint32_t kMessageKey = Platform::kMessageUser + 2;
// Asks the ancestors to scroll `window` into view; climbs parent by parent until a scrolling
// panel handles it. A window without such an ancestor ignores it (result 0).
inline constexpr std::uint32_t kMessageEnsureVisible = Platform::kMessageUser + 4;

// One message to a component. Which fields are set depends on the code (see above); a
// double click arrives as a second button-down, as the components count clicks themselves.
struct Message {
    std::uint32_t code = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    QWidget* window = nullptr;  // the window the message speaks of (asker or sender)
    QPoint position;            // mouse messages, client coordinates
    QSize size;                 // kMessageSize
    int key = 0;                // key messages: the Qt key
    char32_t character = 0;     // kMessageChar
    Qt::KeyboardModifiers modifiers;
    // Mouse messages: the buttons held once the event happened (a button-down includes its
    // button, a button-up no longer does).
    Qt::MouseButtons buttons;
    int wheelDelta = 0;
    bool autoRepeat = false;
    // Button-down messages: the window system has already handed the keyboard focus over for
    // this press (or tried to, and someone took it back); the component does not ask again.
    bool focusGiven = false;
    // Button-down messages: the window system counts this press as the second of a double
    // click.
    bool doubleClick = false;
    // Set by the default handling: the widget then gives the event its usual treatment
    // (a wheel turn goes on to the parent, a close goes ahead).
    bool defaultHandled = false;
};

}  // namespace GUI
