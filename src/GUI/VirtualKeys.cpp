#include "GUI/VirtualKeys.h"

#include <array>
#include <utility>

namespace GUI {

namespace {

using Pair = std::pair<int, int>;  // Qt key, virtual key

constexpr std::array kKeys{
    Pair{Qt::Key_Backspace, VirtualKey::kBack},
    Pair{Qt::Key_Tab, VirtualKey::kTab},
    Pair{Qt::Key_Backtab, VirtualKey::kTab},  // Shift+Tab
    Pair{Qt::Key_Clear, VirtualKey::kClear},
    Pair{Qt::Key_Return, VirtualKey::kReturn},
    Pair{Qt::Key_Enter, VirtualKey::kReturn},
    Pair{Qt::Key_Shift, VirtualKey::kShift},
    Pair{Qt::Key_Control, VirtualKey::kControl},
    Pair{Qt::Key_Alt, VirtualKey::kMenu},
    Pair{Qt::Key_Pause, VirtualKey::kPause},
    Pair{Qt::Key_CapsLock, VirtualKey::kCapital},
    Pair{Qt::Key_Escape, VirtualKey::kEscape},
    Pair{Qt::Key_Space, VirtualKey::kSpace},
    Pair{Qt::Key_PageUp, VirtualKey::kPrior},
    Pair{Qt::Key_PageDown, VirtualKey::kNext},
    Pair{Qt::Key_End, VirtualKey::kEnd},
    Pair{Qt::Key_Home, VirtualKey::kHome},
    Pair{Qt::Key_Left, VirtualKey::kLeft},
    Pair{Qt::Key_Up, VirtualKey::kUp},
    Pair{Qt::Key_Right, VirtualKey::kRight},
    Pair{Qt::Key_Down, VirtualKey::kDown},
    Pair{Qt::Key_Print, VirtualKey::kSnapshot},
    Pair{Qt::Key_Insert, VirtualKey::kInsert},
    Pair{Qt::Key_Delete, VirtualKey::kDelete},
    Pair{Qt::Key_Help, VirtualKey::kHelp},
    Pair{Qt::Key_Meta, VirtualKey::kLeftWindows},
    Pair{Qt::Key_Super_L, VirtualKey::kLeftWindows},
    Pair{Qt::Key_Menu, VirtualKey::kApps},
    Pair{Qt::Key_NumLock, VirtualKey::kNumLock},
    Pair{Qt::Key_ScrollLock, VirtualKey::kScroll},
    Pair{Qt::Key_VolumeMute, VirtualKey::kVolumeMute},
    Pair{Qt::Key_VolumeDown, VirtualKey::kVolumeDown},
    Pair{Qt::Key_VolumeUp, VirtualKey::kVolumeUp},
    Pair{Qt::Key_MediaNext, VirtualKey::kMediaNextTrack},
    Pair{Qt::Key_MediaPrevious, VirtualKey::kMediaPrevTrack},
    Pair{Qt::Key_MediaStop, VirtualKey::kMediaStop},
    Pair{Qt::Key_MediaPlay, VirtualKey::kMediaPlayPause},
    Pair{Qt::Key_MediaTogglePlayPause, VirtualKey::kMediaPlayPause},
    // Punctuation by its key on the US layout, unshifted and shifted.
    Pair{Qt::Key_Semicolon, VirtualKey::kOem1},
    Pair{Qt::Key_Colon, VirtualKey::kOem1},
    Pair{Qt::Key_Equal, VirtualKey::kOemPlus},
    Pair{Qt::Key_Plus, VirtualKey::kOemPlus},
    Pair{Qt::Key_Comma, VirtualKey::kOemComma},
    Pair{Qt::Key_Less, VirtualKey::kOemComma},
    Pair{Qt::Key_Minus, VirtualKey::kOemMinus},
    Pair{Qt::Key_Underscore, VirtualKey::kOemMinus},
    Pair{Qt::Key_Period, VirtualKey::kOemPeriod},
    Pair{Qt::Key_Greater, VirtualKey::kOemPeriod},
    Pair{Qt::Key_Slash, VirtualKey::kOem2},
    Pair{Qt::Key_Question, VirtualKey::kOem2},
    Pair{Qt::Key_QuoteLeft, VirtualKey::kOem3},
    Pair{Qt::Key_AsciiTilde, VirtualKey::kOem3},
    Pair{Qt::Key_BracketLeft, VirtualKey::kOem4},
    Pair{Qt::Key_BraceLeft, VirtualKey::kOem4},
    Pair{Qt::Key_Backslash, VirtualKey::kOem5},
    Pair{Qt::Key_Bar, VirtualKey::kOem5},
    Pair{Qt::Key_BracketRight, VirtualKey::kOem6},
    Pair{Qt::Key_BraceRight, VirtualKey::kOem6},
    Pair{Qt::Key_Apostrophe, VirtualKey::kOem7},
    Pair{Qt::Key_QuoteDbl, VirtualKey::kOem7},
    // Shifted digits are their digit keys.
    Pair{Qt::Key_ParenRight, '0'},
    Pair{Qt::Key_Exclam, '1'},
    Pair{Qt::Key_At, '2'},
    Pair{Qt::Key_NumberSign, '3'},
    Pair{Qt::Key_Dollar, '4'},
    Pair{Qt::Key_Percent, '5'},
    Pair{Qt::Key_AsciiCircum, '6'},
    Pair{Qt::Key_Ampersand, '7'},
    Pair{Qt::Key_Asterisk, '8'},
    Pair{Qt::Key_ParenLeft, '9'},
};

// The keypad's own numbers, for keys that come with KeypadModifier.
int keypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return VirtualKey::kNumpad0 + (qtKey - Qt::Key_0);
    }
    switch (qtKey) {
        case Qt::Key_Asterisk: return VirtualKey::kMultiply;
        case Qt::Key_Plus: return VirtualKey::kAdd;
        case Qt::Key_Minus: return VirtualKey::kSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma: return VirtualKey::kDecimal;
        case Qt::Key_Slash: return VirtualKey::kDivide;
        default: return 0;
    }
}

}  // namespace

int toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (int key = keypadKey(qtKey)) {
            return key;
        }
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;  // Qt's numbers for these are their characters, as the virtual keys are
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return VirtualKey::kF1 + (qtKey - Qt::Key_F1);
    }
    for (const auto& [qt, vk] : kKeys) {
        if (qt == qtKey) {
            return vk;
        }
    }
    return 0;
}

int virtualKeyOf(const Message& message)
{
    return toVirtualKey(message.key, message.modifiers);
}

}  // namespace GUI
