#include <gtest/gtest.h>

#include "GUI/VirtualKeys.h"

namespace GUI {
namespace {

struct KeyCase {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
};

TEST(VirtualKeys, QtKeysMapToTheWindowSystemsNumbers)
{
    const KeyCase cases[] = {
        {Qt::Key_A, Qt::NoModifier, 0x41},
        {Qt::Key_Z, Qt::ShiftModifier, 0x5A},
        {Qt::Key_0, Qt::NoModifier, 0x30},
        {Qt::Key_9, Qt::NoModifier, 0x39},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0x31},  // Shift+1 on the US layout
        {Qt::Key_ParenRight, Qt::ShiftModifier, 0x30},
        {Qt::Key_F1, Qt::NoModifier, 0x70},
        {Qt::Key_F12, Qt::NoModifier, 0x7B},
        {Qt::Key_F24, Qt::NoModifier, 0x87},
        {Qt::Key_Return, Qt::NoModifier, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {Qt::Key_Backspace, Qt::NoModifier, 0x08},
        {Qt::Key_Tab, Qt::NoModifier, 0x09},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0x09},
        {Qt::Key_Escape, Qt::NoModifier, 0x1B},
        {Qt::Key_Space, Qt::NoModifier, 0x20},
        {Qt::Key_PageUp, Qt::NoModifier, 0x21},
        {Qt::Key_PageDown, Qt::NoModifier, 0x22},
        {Qt::Key_End, Qt::NoModifier, 0x23},
        {Qt::Key_Home, Qt::NoModifier, 0x24},
        {Qt::Key_Left, Qt::NoModifier, 0x25},
        {Qt::Key_Up, Qt::NoModifier, 0x26},
        {Qt::Key_Right, Qt::NoModifier, 0x27},
        {Qt::Key_Down, Qt::NoModifier, 0x28},
        {Qt::Key_Insert, Qt::NoModifier, 0x2D},
        {Qt::Key_Delete, Qt::NoModifier, 0x2E},
        {Qt::Key_Shift, Qt::ShiftModifier, 0x10},
        {Qt::Key_Control, Qt::ControlModifier, 0x11},
        {Qt::Key_Alt, Qt::AltModifier, 0x12},
        // The keypad: its own numbers for digits and operators, navigation without Num Lock.
        {Qt::Key_0, Qt::KeypadModifier, 0x60},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 0x6A},
        {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
        {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Period, Qt::KeypadModifier, 0x6E},
        {Qt::Key_Slash, Qt::KeypadModifier, 0x6F},
        {Qt::Key_Home, Qt::KeypadModifier, 0x24},
        // The same characters off the keypad are the punctuation keys.
        {Qt::Key_Plus, Qt::ShiftModifier, 0xBB},
        {Qt::Key_Minus, Qt::NoModifier, 0xBD},
        {Qt::Key_Period, Qt::NoModifier, 0xBE},
        {Qt::Key_Slash, Qt::NoModifier, 0xBF},
        {Qt::Key_Semicolon, Qt::NoModifier, 0xBA},
        {Qt::Key_Comma, Qt::NoModifier, 0xBC},
        {Qt::Key_QuoteLeft, Qt::NoModifier, 0xC0},
        {Qt::Key_BracketLeft, Qt::NoModifier, 0xDB},
        {Qt::Key_Backslash, Qt::NoModifier, 0xDC},
        {Qt::Key_BracketRight, Qt::NoModifier, 0xDD},
        {Qt::Key_Apostrophe, Qt::NoModifier, 0xDE},
        {Qt::Key_MediaTogglePlayPause, Qt::NoModifier, 0xB3},
        // Keys the window system has no number for.
        {Qt::Key_unknown, Qt::NoModifier, 0},
        {Qt::Key_Launch0, Qt::NoModifier, 0},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(toVirtualKey(c.qtKey, c.modifiers), c.virtualKey)
            << "Qt key 0x" << std::hex << c.qtKey;
    }
}

TEST(VirtualKeys, AKeyMessageIsReadByItsQtKeyAndModifiers)
{
    Message message;
    message.code = kMessageKeyDown;
    message.key = Qt::Key_5;
    EXPECT_EQ(virtualKeyOf(message), 0x35);
    message.modifiers = Qt::KeypadModifier;
    EXPECT_EQ(virtualKeyOf(message), 0x65);
}

}  // namespace
}  // namespace GUI
