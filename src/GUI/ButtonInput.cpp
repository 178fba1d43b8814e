#include "GUI/ButtonInput.h"

#include "GUI/VirtualKeys.h"

namespace GUI {

bool ButtonInput::setBit(int bit, bool value)
{
    const int state = value ? (state_ | bit) : (state_ & ~bit);
    if (state == state_) {
        return false;
    }
    state_ = state;
    return true;
}

ButtonInput::Result ButtonInput::click()
{
    if (toggle_) {
        state_ ^= kOn;
    }
    return Result::kClicked;
}

ButtonInput::Result ButtonInput::handle(const Message& message, const QWidget* window)
{
    auto changed = [](bool c) { return c ? Result::kChanged : Result::kNone; };
    switch (message.code) {
        case kMessageMouseMove:
            // Qt reports the leaving by itself (kMessageMouseLeave); nothing to ask for.
            return changed(setBit(kHover, true));
        case kMessageMouseLeave: return changed(setBit(kHover, false));
        case kMessageLButtonDown: return changed(setBit(kPressed, true));
        case kMessageLButtonUp: {
            // The press held the mouse for this window, so the release comes here even
            // outside it: only a release inside clicks.
            const bool wasPressed = setBit(kPressed, false);
            if (wasPressed && window != nullptr && window->rect().contains(message.position)) {
                return click();
            }
            return changed(wasPressed);
        }
        case kMessageKeyDown:
            if (virtualKeyOf(message) == VirtualKey::kSpace && !message.autoRepeat) {
                return changed(setBit(kPressed, true));
            }
            return Result::kNone;
        case kMessageKeyUp: {
            const int key = virtualKeyOf(message);
            if (key == VirtualKey::kSpace) {
                return setBit(kPressed, false) ? click() : Result::kNone;
            }
            return key == VirtualKey::kReturn ? click() : Result::kNone;
        }
        case kMessageKillFocus: setBit(kPressed, false); return Result::kChanged;
        case kMessageSetFocus: return Result::kChanged;
        case kMessageEnable:
            if (message.wParam == 0) {
                setBit(kPressed | kHover, false);
            }
            return Result::kChanged;
        default: return Result::kNone;
    }
}

}  // namespace GUI
