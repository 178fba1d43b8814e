#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <random>

class QImage;
class QPainter;

// The parts of a fireworks night that the artwork is made of: the sky, its stars, the
// bursts and the dark land under them.
namespace Artwork {

// A fixed sequence of numbers, so that every build draws the same picture.
class Scatter {
public:
    explicit Scatter(std::uint32_t seed) : engine_(seed) {}
    // A number in [low, high).
    double between(double low, double high)
    {
        return low + (high - low) * (static_cast<double>(engine_()) / 4294967296.0);
    }

private:
    std::mt19937 engine_;
};

// The sky from deep blue-black at the top to a warm, smoky glow at the bottom of `area`.
void paintSky(QPainter& painter, const QRectF& area);

// Faint stars over `area`, `count` of them.
void paintStars(QPainter& painter, const QRectF& area, int count, Scatter& scatter);

// One burst of stars: how it looks, where and how big.
struct Burst {
    QPointF center;
    double radius = 40;
    QColor color;            // the stars' colour along their trails
    QColor tip = Qt::white;  // the bright head of each star
    int stars = 48;
    double droop = 0.12;  // how far the trails sag, as a part of the radius
    double width = 1.4;   // line width of a trail
};

// Draws the burst as light into `layer` (see Glow.h: addLight lays it over a picture).
void paintBurst(QImage& layer, const Burst& burst, Scatter& scatter);

// A rising shell's trail from `from` up to `to`, as light into `layer`.
void paintTrail(QImage& layer, QPointF from, QPointF to, const QColor& color);

// Dark rolling hills along the bottom of `area`, `height` pixels high at most.
void paintHills(QPainter& painter, const QRectF& area, double height, Scatter& scatter);

}  // namespace Artwork
