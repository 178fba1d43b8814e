#include "Glow.h"

#include <QPainter>
#include <algorithm>
#include <vector>

namespace Artwork {

namespace {

// One box pass along rows (`horizontal`) or columns over the four channels.
void boxPass(QImage& image, int radius, bool horizontal)
{
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const int window = 2 * radius + 1;
    std::vector<int> sums(4);
    std::vector<QRgb> line(static_cast<std::size_t>(length));
    for (int l = 0; l < lines; ++l) {
        auto pixel = [&](int i) -> QRgb& {
            return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(l))[i]
                              : reinterpret_cast<QRgb*>(image.scanLine(i))[l];
        };
        for (int i = 0; i < length; ++i) {
            line[static_cast<std::size_t>(i)] = pixel(i);
        }
        // Outside the image counts as transparent, so light fades at the edges.
        auto at = [&](int i) {
            return i < 0 || i >= length ? 0u : line[static_cast<std::size_t>(i)];
        };
        std::fill(sums.begin(), sums.end(), 0);
        for (int i = -radius; i <= radius; ++i) {
            const QRgb p = at(i);
            sums[0] += qAlpha(p);
            sums[1] += qRed(p);
            sums[2] += qGreen(p);
            sums[3] += qBlue(p);
        }
        for (int i = 0; i < length; ++i) {
            pixel(i) =
                qRgba(sums[1] / window, sums[2] / window, sums[3] / window, sums[0] / window);
            const QRgb out = at(i - radius);
            const QRgb in = at(i + radius + 1);
            sums[0] += qAlpha(in) - qAlpha(out);
            sums[1] += qRed(in) - qRed(out);
            sums[2] += qGreen(in) - qGreen(out);
            sums[3] += qBlue(in) - qBlue(out);
        }
    }
}

}  // namespace

QImage blurred(const QImage& image, int radius)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius <= 0) {
        return result;
    }
    const int box = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(result, box, true);
        boxPass(result, box, false);
    }
    return result;
}

QImage lightLayer(int width, int height)
{
    QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void addLight(QPainter& painter, const QImage& light, int radius, double bloom)
{
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    if (bloom > 0) {
        painter.setOpacity(std::min(1.0, bloom));
        painter.drawImage(0, 0, blurred(light, radius));
        if (bloom > 1) {
            painter.setOpacity(bloom - 1);
            painter.drawImage(0, 0, blurred(light, radius * 3));
        }
    }
    painter.setOpacity(1);
    painter.drawImage(0, 0, light);
    painter.restore();
}

}  // namespace Artwork
