#pragma once

#include <QWidget>

#include "GUI/Message.h"

namespace GUI {

// The input of a push or toggle button, shared by the text and the glyph buttons: hover,
// press and click by mouse, Space and Enter. It keeps the state bits; the button draws them
// and tells its listeners.
class ButtonInput {
public:
    enum StateBit : int { kHover = 1, kPressed = 2, kOn = 4 };
    enum class Result {
        kNone,     // nothing the button shows changed
        kChanged,  // the look changed: draw again
        kClicked,  // a click (a toggle button's on bit has flipped already)
    };

    // Reads one message to the button's window.
    Result handle(const Message& message, const QWidget* window);

    int getState() const { return state_; }
    bool isOn() const { return (state_ & kOn) != 0; }
    // Returns true when the on bit changed.
    bool setOn(bool on) { return setBit(kOn, on); }
    bool isToggle() const { return toggle_; }
    void setToggle(bool toggle) { toggle_ = toggle; }

private:
    bool setBit(int bit, bool value);
    Result click();

    int state_ = 0;
    bool toggle_ = false;
};

}  // namespace GUI
