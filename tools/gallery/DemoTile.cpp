#include "DemoTile.h"

#include <QPainterPath>

#include "GUI/Colors.h"
#include "GUI/Graphics.h"

using namespace GUI;

DemoTile::DemoTile(QString caption, int width, int height) : caption_(std::move(caption))
{
    preferredWidth_ = width;
    preferredHeight_ = height;
}

std::intptr_t DemoTile::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageMouseMove: setHover(true); break;
        case kMessageMouseLeave: setHover(false); break;
        case kMessageLButtonDown: setPressed(true); break;
        case kMessageLButtonUp:
            setPressed(false);
            if (getHandle()->rect().contains(message.position)) {
                click();
            }
            break;
        case kMessageKeyDown:
            if (message.key == Qt::Key_Space && !message.autoRepeat) {
                setPressed(true);
            }
            break;
        case kMessageKeyUp:
            if (message.key == Qt::Key_Space) {
                setPressed(false);
                click();
            } else if (message.key == Qt::Key_Return || message.key == Qt::Key_Enter) {
                click();
            }
            break;
        case kMessageSetFocus:
            requestEnsureVisible();
            invalidate();
            break;
        case kMessageKillFocus: invalidate(); break;
        default: break;
    }
    return D2DComponent::handleMessage(message);
}

void DemoTile::click()
{
    if (toggle_) {
        on_ = !on_;
    }
    invalidate();
    if (onClick_) {
        onClick_();
    }
}

void DemoTile::setHover(bool hover)
{
    if (hover_ != hover) {
        hover_ = hover;
        invalidate();
    }
}

void DemoTile::setPressed(bool pressed)
{
    if (pressed_ != pressed) {
        pressed_ = pressed;
        invalidate();
    }
}

void DemoTile::draw(RenderTarget& target)
{
    ++draws_;
    QPainter& p = target.painter();
    const QRectF r(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(r, kBackgroundColor.toQColor());

    QPainterPath edge;
    edge.addRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
    p.fillPath(edge, hover_ ? kFaceColor.toQColor() : kEdgeColor.toQColor());
    QPainterPath face;
    face.addRoundedRect(r.adjusted(3, 3, -3, -3), 5, 5);
    QColor faceColor = on_ ? kFaceColor.toQColor() : kBackgroundColor.toQColor().lighter(130);
    if (pressed_) {
        faceColor = faceColor.darker(130);
    }
    p.fillPath(face, faceColor);

    if (getHandle()->hasFocus()) {
        p.setPen(QPen(on_ ? kEdgeColor.toQColor() : kFaceColor.toQColor(), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(6.5, 6.5, -6.5, -6.5), 3, 3);
    }

    const Graphics* graphics = Graphics::getInstance();
    const QColor ink = on_ ? kEdgeColor.toQColor() : QColor(Qt::white);
    p.setPen(ink);
    p.setFont(graphics->getFont(Graphics::TextStyle::kRegular13));
    p.drawText(r.adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft, caption_);
    p.setFont(graphics->getFont(Graphics::TextStyle::kHeavy10));
    p.drawText(r.adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignRight,
               QString("drawn %1x").arg(draws_));
}
