#include "GUI/D2DGlyphButton.h"

#include <algorithm>

#include "GUI/WidgetLook.h"

namespace GUI {

D2DGlyphButton::D2DGlyphButton(bool toggle, WidgetColors colors) : colors_(colors)
{
    input_.setToggle(toggle);
    preferredWidth_ = 28;
    preferredHeight_ = 28;
}

void D2DGlyphButton::onCreate()
{
    enabled_ = getHandle()->isEnabled();
}

std::intptr_t D2DGlyphButton::handleMessage(Message& message)
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
        clicked();
    }
    return handled;
}

void D2DGlyphButton::clicked()
{
    listeners_.notify(&Listener::clicked, this);
}

void D2DGlyphButton::setLook(bool on)
{
    if (look_ != on) {
        look_ = on;
        invalidate();
    }
}

void D2DGlyphButton::setEnabled(bool enabled)
{
    if (getHandle() != nullptr) {
        getHandle()->setEnabled(enabled);
    }
    if (enabled_ != enabled) {
        enabled_ = enabled;
        invalidate();
    }
}

void D2DGlyphButton::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, colors_.background.toQColor());
    if (!enabled_) {
        p.setOpacity(WidgetLook::kDisabledOpacity);
    }
    const int state = input_.getState();
    const bool lit = look_ || (state & kOn) != 0;
    const bool focused = getHandle() != nullptr && getHandle()->hasFocus();
    WidgetLook::drawButtonBody(p, rect, colors_, lit, (state & kPressed) != 0,
                               (state & kHover) != 0, focused);
    QPainterPath glyph;
    const qreal margin = std::max<qreal>(4.0, std::min(rect.width(), rect.height()) * 0.22);
    drawGlyph(glyph, rect.adjusted(margin, margin, -margin, -margin));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(WidgetLook::buttonInk(colors_, lit));
    p.drawPath(glyph);
}

}  // namespace GUI
