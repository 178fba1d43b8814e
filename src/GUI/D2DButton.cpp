#include "GUI/D2DButton.h"

#include "GUI/Graphics.h"
#include "GUI/WidgetLook.h"

namespace GUI {

D2DButton::D2DButton(bool toggle, WidgetColors colors) : colors_(colors)
{
    input_.setToggle(toggle);
    preferredWidth_ = 120;
    preferredHeight_ = 26;
}

void D2DButton::onCreate()
{
    if (!captionSet_) {
        caption_ = getHandle()->windowTitle().toStdWString();
    }
    enabled_ = getHandle()->isEnabled();
}

std::intptr_t D2DButton::handleMessage(Message& message)
{
    const ButtonInput::Result result = input_.handle(message, getHandle());
    switch (message.code) {
        case kMessageSetFocus: requestEnsureVisible(); break;
        case kMessageEnable: enabled_ = message.wParam != 0; break;
        default: break;
    }
    if (result != ButtonInput::Result::kNone) {
        invalidate();
    }
    const std::intptr_t handled = D2DComponent::handleMessage(message);
    if (result == ButtonInput::Result::kClicked) {
        // Last: a listener may hide, disable or even destroy the button.
        listeners_.notify(&Listener::clicked, this);
    }
    return handled;
}

void D2DButton::setCaption(const std::wstring& caption)
{
    captionSet_ = true;
    if (caption != caption_) {
        caption_ = caption;
        invalidate();
    }
}

void D2DButton::setEnabled(bool enabled)
{
    if (getHandle() != nullptr) {
        getHandle()->setEnabled(enabled);  // reaches handleMessage as kMessageEnable
    }
    if (enabled_ != enabled) {
        enabled_ = enabled;
        invalidate();
    }
}

void D2DButton::setOn(bool on)
{
    if (input_.setOn(on)) {
        invalidate();
    }
}

void D2DButton::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, colors_.background.toQColor());
    if (!enabled_) {
        p.setOpacity(WidgetLook::kDisabledOpacity);
    }
    const int state = input_.getState();
    const bool lit = (state & kOn) != 0;
    const bool focused = getHandle() != nullptr && getHandle()->hasFocus();
    WidgetLook::drawButtonBody(p, rect, colors_, lit, (state & kPressed) != 0,
                               (state & kHover) != 0, focused);
    p.setPen(WidgetLook::buttonInk(colors_, lit));
    if (Graphics* graphics = Graphics::getInstance()) {
        p.setFont(graphics->getFont(Graphics::TextStyle::kRegular13));
    }
    p.drawText(rect.adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextSingleLine,
               QString::fromStdWString(caption_));
}

}  // namespace GUI
