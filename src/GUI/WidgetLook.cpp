#include "GUI/WidgetLook.h"

#include <QPen>

namespace GUI {

QColor WidgetLook::mix(const QColor& a, const QColor& b, qreal t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

void WidgetLook::drawButtonBody(QPainter& painter, const QRectF& rect, const WidgetColors& colors,
                                bool lit, bool pressed, bool hover, bool focused)
{
    const QColor face = colors.face.toQColor();
    const QColor edge = colors.edge.toQColor();
    const QColor background = colors.background.toQColor();
    QColor fill = lit ? face : mix(background, edge, 0.6);
    if (pressed) {
        fill = lit ? mix(face, edge, 0.35) : mix(edge, face, 0.25);
    } else if (hover) {
        fill = lit ? mix(face, Qt::white, 0.3) : mix(edge, face, 0.15);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body = rect.adjusted(1, 1, -1, -1);
    painter.setBrush(fill);
    painter.setPen(QPen(focused ? face : edge, focused ? 2.0 : 1.0));
    painter.drawRoundedRect(body, kCornerRadius, kCornerRadius);
}

QColor WidgetLook::buttonInk(const WidgetColors& colors, bool lit)
{
    return lit ? colors.background.toQColor() : colors.face.toQColor();
}

void WidgetLook::drawFieldBody(QPainter& painter, const QRectF& rect, const WidgetColors& colors,
                               bool editing, bool hover)
{
    const QColor background = colors.background.toQColor();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(mix(background, Qt::black, 0.35));
    const QColor ring = editing ? colors.face.toQColor()
                                : (hover ? mix(colors.edge.toQColor(), colors.face.toQColor(), 0.4)
                                         : colors.edge.toQColor());
    painter.setPen(QPen(ring, editing ? 2.0 : 1.0));
    painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), kCornerRadius, kCornerRadius);
}

}  // namespace GUI
