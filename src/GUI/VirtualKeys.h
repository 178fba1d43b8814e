#pragma once

#include <Qt>

#include "GUI/Message.h"

namespace GUI {

// Keys by the window system's virtual-key numbers, which the key maps of the settings
// ("keys.%08X") store: a key map written on one platform reads the same on every other.
namespace VirtualKey {
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kClear = 0x0C;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;  // Alt
inline constexpr int kPause = 0x13;
inline constexpr int kCapital = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;  // Page Up
inline constexpr int kNext = 0x22;   // Page Down
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kSnapshot = 0x2C;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kHelp = 0x2F;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' 0x41..0x5A, as their characters.
inline constexpr int kLeftWindows = 0x5B;
inline constexpr int kApps = 0x5D;
inline constexpr int kNumpad0 = 0x60;  // to kNumpad9 = 0x69
inline constexpr int kMultiply = 0x6A;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kDecimal = 0x6E;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;  // to kF24 = 0x87
inline constexpr int kNumLock = 0x90;
inline constexpr int kScroll = 0x91;
inline constexpr int kVolumeMute = 0xAD;
inline constexpr int kVolumeDown = 0xAE;
inline constexpr int kVolumeUp = 0xAF;
inline constexpr int kMediaNextTrack = 0xB0;
inline constexpr int kMediaPrevTrack = 0xB1;
inline constexpr int kMediaStop = 0xB2;
inline constexpr int kMediaPlayPause = 0xB3;
inline constexpr int kOem1 = 0xBA;       // ;:
inline constexpr int kOemPlus = 0xBB;    // =+
inline constexpr int kOemComma = 0xBC;   // ,<
inline constexpr int kOemMinus = 0xBD;   // -_
inline constexpr int kOemPeriod = 0xBE;  // .>
inline constexpr int kOem2 = 0xBF;       // /?
inline constexpr int kOem3 = 0xC0;       // `~
inline constexpr int kOem4 = 0xDB;       // [{
inline constexpr int kOem5 = 0xDC;       // \|
inline constexpr int kOem6 = 0xDD;       // ]}
inline constexpr int kOem7 = 0xDE;       // '"
}  // namespace VirtualKey

// The virtual-key number of a Qt key, 0 for a key that has none. Keys of the numeric keypad
// (KeypadModifier) give the keypad numbers for digits and operators, and the navigation
// numbers when Num Lock is off, as the keypad does. Punctuation maps by its place on the US
// layout, shifted or not ('!' is the key '1').
int toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The virtual-key number of a key message (kMessageKeyDown or kMessageKeyUp).
int virtualKeyOf(const Message& message);

}  // namespace GUI
