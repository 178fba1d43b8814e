#include "NightSky.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace Artwork {

void paintSky(QPainter& painter, const QRectF& area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(3, 4, 12));
    sky.setColorAt(0.55, QColor(14, 9, 26));
    sky.setColorAt(0.85, QColor(38, 14, 20));
    sky.setColorAt(1.0, QColor(62, 22, 12));
    painter.fillRect(area, sky);
}

void paintStars(QPainter& painter, const QRectF& area, int count, Scatter& scatter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(scatter.between(area.left(), area.right()),
                         scatter.between(area.top(), area.bottom()));
        // Stars fade toward the smoky glow at the bottom.
        const double height = (at.y() - area.top()) / area.height();
        const double brightness = scatter.between(0.15, 0.8) * (1.0 - 0.8 * height);
        const double size = scatter.between(0.35, 0.9);
        painter.setBrush(QColor(220, 225, 255, static_cast<int>(255 * brightness)));
        painter.drawEllipse(at, size, size);
    }
    painter.restore();
}

void paintBurst(QImage& layer, const Burst& burst, Scatter& scatter)
{
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    const double turn = 2 * std::numbers::pi / burst.stars;
    for (int i = 0; i < burst.stars; ++i) {
        const double angle = i * turn + scatter.between(-0.35, 0.35) * turn;
        const double length = burst.radius * scatter.between(0.72, 1.0);
        // A star flies out and sags under gravity: a quadratic curve bent downward.
        const QPointF direction(std::cos(angle), std::sin(angle));
        const QPointF end =
            burst.center + direction * length + QPointF(0, burst.droop * burst.radius);
        const QPointF control = burst.center + direction * (length * 0.6);
        QPainterPath trail(burst.center + direction * (length * 0.18));
        trail.quadTo(control, end);
        QLinearGradient fade(burst.center, end);
        QColor faint = burst.color;
        faint.setAlpha(0);
        fade.setColorAt(0.0, faint);
        fade.setColorAt(0.55,
                        QColor(burst.color.red(), burst.color.green(), burst.color.blue(), 110));
        fade.setColorAt(0.92, burst.color);
        fade.setColorAt(1.0, burst.tip);
        painter.setPen(QPen(QBrush(fade), burst.width, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(trail);
        painter.setPen(Qt::NoPen);
        painter.setBrush(burst.tip);
        const double head = burst.width * scatter.between(0.7, 1.1);
        painter.drawEllipse(end, head, head);
    }
    // The flash where the shell broke.
    QRadialGradient flash(burst.center, burst.radius * 0.35);
    QColor core = burst.tip;
    core.setAlpha(120);
    flash.setColorAt(0.0, core);
    QColor rim = burst.color;
    rim.setAlpha(0);
    flash.setColorAt(1.0, rim);
    painter.setPen(Qt::NoPen);
    painter.setBrush(flash);
    painter.drawEllipse(burst.center, burst.radius * 0.35, burst.radius * 0.35);
}

void paintTrail(QImage& layer, QPointF from, QPointF to, const QColor& color)
{
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    QLinearGradient fade(from, to);
    QColor faint = color;
    faint.setAlpha(0);
    fade.setColorAt(0.0, faint);
    fade.setColorAt(1.0, color);
    QPainterPath path(from);
    path.quadTo(QPointF(from.x() + (to.x() - from.x()) * 0.2, (from.y() + to.y()) / 2), to);
    painter.setPen(QPen(QBrush(fade), 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(path);
}

void paintHills(QPainter& painter, const QRectF& area, double height, Scatter& scatter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath hills(area.bottomLeft());
    const double phase1 = scatter.between(0, 6.28);
    const double phase2 = scatter.between(0, 6.28);
    const int steps = 64;
    for (int i = 0; i <= steps; ++i) {
        const double x = area.left() + area.width() * i / steps;
        const double u = static_cast<double>(i) / steps;
        const double rise =
            0.55 + 0.25 * std::sin(u * 7.1 + phase1) + 0.2 * std::sin(u * 17.3 + phase2);
        hills.lineTo(x, area.bottom() - height * rise);
    }
    hills.lineTo(area.bottomRight());
    hills.closeSubpath();
    QLinearGradient shade(0, area.bottom() - height, 0, area.bottom());
    shade.setColorAt(0, QColor(12, 6, 8));
    shade.setColorAt(1, QColor(4, 2, 4));
    painter.setPen(QPen(QColor(120, 45, 20, 90), 1));
    painter.setBrush(shade);
    painter.drawPath(hills);
    painter.restore();
}

}  // namespace Artwork
