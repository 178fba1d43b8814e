#include "Wordmark.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "Glow.h"
#include "NightSky.h"

namespace Artwork {

namespace {

const char* kName = "Skyfirewright";

Burst emblemBurst(const Wordmark& wordmark)
{
    Burst burst;
    burst.center = wordmark.emblemCenter;
    burst.radius = wordmark.emblemRadius;
    burst.color = QColor(255, 150, 50);
    burst.tip = QColor(255, 240, 200);
    burst.stars = 22;
    burst.droop = 0.08;
    burst.width = wordmark.emblemRadius / 18;
    return burst;
}

}  // namespace

Wordmark layoutWordmark(QPointF origin, double height)
{
    Wordmark wordmark;
    wordmark.emblemRadius = height * 0.36;
    wordmark.emblemCenter = origin + QPointF(height * 0.5, height * 0.48);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(height * 0.44));
    font.setLetterSpacing(QFont::AbsoluteSpacing, height * 0.012);
    wordmark.letters.addText(origin + QPointF(height * 1.0, height * 0.64), font,
                             QString::fromLatin1(kName));
    return wordmark;
}

void paintWordmark(QPainter& painter, const Wordmark& wordmark)
{
    // The emblem is light: it is drawn into its own layer and laid over with its bloom.
    const QRect device(0, 0, painter.device()->width(), painter.device()->height());
    QImage light = lightLayer(device.width(), device.height());
    Scatter scatter(7);
    paintBurst(light, emblemBurst(wordmark), scatter);
    addLight(painter, light, static_cast<int>(wordmark.emblemRadius / 5), 1.4);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = wordmark.letters.boundingRect();
    // A soft ember glow behind the letters keeps them apart from the sky.
    painter.drawImage(
        0, 0, wordmarkGlow(wordmark, device.width(), device.height(), QColor(255, 90, 20, 110)));
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(255, 248, 228));
    fill.setColorAt(0.55, QColor(255, 200, 120));
    fill.setColorAt(1.0, QColor(255, 120, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(wordmark.letters);
    painter.restore();
}

QImage wordmarkGlow(const Wordmark& wordmark, int width, int height, const QColor& color)
{
    QImage shape = lightLayer(width, height);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        const double thickness = wordmark.emblemRadius / 8;
        painter.setPen(QPen(color, thickness, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(color);
        painter.drawPath(wordmark.letters);
        QRadialGradient halo(wordmark.emblemCenter, wordmark.emblemRadius * 1.1);
        halo.setColorAt(0, color);
        QColor clear = color;
        clear.setAlpha(0);
        halo.setColorAt(1, clear);
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(wordmark.emblemCenter, wordmark.emblemRadius * 1.1,
                            wordmark.emblemRadius * 1.1);
    }
    const int radius = static_cast<int>(wordmark.emblemRadius / 3);
    QImage glow = blurred(shape, radius);
    // A wide, faint halo under a tight, bright one.
    QPainter painter(&glow);
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.setOpacity(0.7);
    painter.drawImage(0, 0, blurred(shape, radius * 3));
    return glow;
}

}  // namespace Artwork
