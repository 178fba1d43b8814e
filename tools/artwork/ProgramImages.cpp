#include "ProgramImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <vector>

#include "Glow.h"
#include "NightSky.h"
#include "Wordmark.h"

namespace Artwork {

namespace {

const int kBandWidth = 1920;
const int kBandHeight = 100;
const int kLogoWidth = 550;

Wordmark headerWordmark()
{
    return layoutWordmark(QPointF(14, 4), 92);
}

QImage opaqueImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    return image;
}

// A glowing line along the bottom edge, bright at the logo and fading to the right.
void paintEdge(QPainter& painter, int width, int height)
{
    QLinearGradient edge(0, 0, width, 0);
    edge.setColorAt(0.0, QColor(255, 110, 30, 230));
    edge.setColorAt(0.3, QColor(255, 80, 20, 150));
    edge.setColorAt(1.0, QColor(160, 40, 10, 60));
    painter.fillRect(QRectF(0, height - 2, width, 2), edge);
}

struct BurstPlace {
    double x, y, radius;
    QColor color;
    QColor tip;
    int stars;
};

void paintBursts(QPainter& painter, int width, int height, const std::vector<BurstPlace>& places,
                 Scatter& scatter, double bloom)
{
    QImage light = lightLayer(width, height);
    for (const BurstPlace& place : places) {
        Burst burst;
        burst.center = QPointF(place.x, place.y);
        burst.radius = place.radius;
        burst.color = place.color;
        burst.tip = place.tip;
        burst.stars = place.stars;
        burst.width = place.radius > 60 ? 1.8 : 1.3;
        paintBurst(light, burst, scatter);
        // The shell's rising trail ends a little below the burst.
        paintTrail(light, QPointF(place.x - place.radius * 0.15, height + 4),
                   QPointF(place.x, place.y + place.radius * 0.25),
                   QColor(place.color.red(), place.color.green(), place.color.blue(), 70));
    }
    addLight(painter, light, 5, bloom);
}

}  // namespace

QImage headerBand()
{
    QImage image = opaqueImage(kBandWidth, kBandHeight);
    QPainter painter(&image);
    Scatter scatter(1920);
    paintSky(painter, QRectF(0, 0, kBandWidth, kBandHeight));
    paintStars(painter, QRectF(0, 0, kBandWidth, kBandHeight), 420, scatter);
    // Bursts between the logo and the status display; the ends stay quiet.
    const QColor gold(255, 176, 60);
    const QColor red(255, 70, 40);
    const QColor amber(255, 130, 30);
    const QColor rose(255, 90, 120);
    const QColor white(255, 246, 228);
    paintBursts(painter, kBandWidth, kBandHeight,
                {{640, 38, 30, amber, white, 30},
                 {760, 58, 44, gold, white, 44},
                 {905, 30, 36, red, QColor(255, 200, 170), 36},
                 {1030, 62, 28, rose, white, 28},
                 {1160, 36, 46, gold, white, 48},
                 {1290, 66, 24, amber, white, 24},
                 {1395, 28, 22, red, QColor(255, 210, 180), 22}},
                scatter, 1.3);
    paintEdge(painter, kBandWidth, kBandHeight);
    // Under the logo the sky is a little darker, so that the lettering stands out.
    QLinearGradient shade(0, 0, kLogoWidth, 0);
    shade.setColorAt(0.0, QColor(0, 0, 0, 110));
    shade.setColorAt(0.8, QColor(0, 0, 0, 60));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(0, 0, kLogoWidth, kBandHeight - 2), shade);
    paintWordmark(painter, headerWordmark());
    return image;
}

QImage logoGlow()
{
    return wordmarkGlow(headerWordmark(), kLogoWidth, kBandHeight, QColor(255, 40, 16, 235));
}

QImage menuHead()
{
    const int width = 1024;
    const int height = 160;
    QImage image = opaqueImage(width, height);
    QPainter painter(&image);
    Scatter scatter(1024);
    paintSky(painter, QRectF(0, 0, width, height));
    paintStars(painter, QRectF(0, 0, width, height), 260, scatter);
    paintBursts(painter, width, height,
                {{560, 62, 50, QColor(255, 170, 60), QColor(255, 246, 228), 56},
                 {690, 46, 66, QColor(255, 70, 40), QColor(255, 215, 190), 64},
                 {826, 72, 44, QColor(255, 120, 30), QColor(255, 246, 228), 44},
                 {940, 40, 36, QColor(255, 100, 140), QColor(255, 240, 240), 36},
                 {470, 38, 26, QColor(255, 200, 90), QColor(255, 250, 235), 26}},
                scatter, 1.5);
    paintHills(painter, QRectF(0, 0, width, height), 26, scatter);
    paintEdge(painter, width, height);
    paintWordmark(painter, layoutWordmark(QPointF(26, 22), 104));
    return image;
}

}  // namespace Artwork
