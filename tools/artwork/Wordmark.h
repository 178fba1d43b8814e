#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

// The program's name as a logo: a small burst beside the lettering "Skyfirewright".
namespace Artwork {

class Scatter;

struct Wordmark {
    QPainterPath letters;
    QPointF emblemCenter;
    double emblemRadius = 0;
};

// The logo laid out at `height` pixels high with its top-left corner at `origin`.
Wordmark layoutWordmark(QPointF origin, double height);

// Draws the logo onto a painted background.
void paintWordmark(QPainter& painter, const Wordmark& wordmark);

// The logo's glow alone, `color` fading into transparency, on a transparent image of
// `width` x `height`: laid over the logo it lights it up.
QImage wordmarkGlow(const Wordmark& wordmark, int width, int height, const QColor& color);

}  // namespace Artwork
