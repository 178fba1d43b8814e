#include "ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <cmath>
#include <numbers>
#include <vector>

namespace Artwork {

namespace {

struct Stop {
    double at;
    QColor color;
};

// One shape of the icon, filled (tile, circle) or stroked (line) with a gradient. A linear
// gradient runs from `from` to `to`; a radial one has its centre at `from` and reaches
// `reach`.
struct Shape {
    enum Kind { TILE, CIRCLE, LINE } kind;
    QPointF from;
    QPointF to;
    double size = 0;  // tile: corner radius; circle: radius; line: width
    bool radial = false;
    double reach = 0;
    std::vector<Stop> stops;
};

const double kUnits = 256;
const QPointF kBurstCenter(128, 104);

// The shapes in drawing order, in units of a 256 x 256 icon.
std::vector<Shape> iconShapes()
{
    std::vector<Shape> shapes;
    shapes.push_back(
        {Shape::TILE,
         QPointF(12, 12),
         QPointF(244, 244),
         48,
         false,
         0,
         {{0, QColor(36, 20, 58)}, {0.6, QColor(16, 10, 30)}, {1, QColor(58, 20, 12)}}});
    shapes.push_back({Shape::CIRCLE,
                      kBurstCenter,
                      QPointF(),
                      90,
                      true,
                      90,
                      {{0, QColor(255, 140, 50, 150)},
                       {0.45, QColor(210, 50, 18, 60)},
                       {1, QColor(210, 50, 18, 0)}}});
    // The rising trail, fading toward the ground.
    shapes.push_back({Shape::LINE,
                      QPointF(128, 226),
                      QPointF(128, 150),
                      7,
                      false,
                      0,
                      {{0, QColor(255, 150, 60, 0)}, {1, QColor(255, 190, 100, 230)}}});
    const int rays = 16;
    for (int i = 0; i < rays; ++i) {
        // Half a step off the vertical, so that no star falls onto the trail.
        const double angle = -std::numbers::pi / 2 + (i + 0.5) * 2 * std::numbers::pi / rays;
        const bool tall = i % 2 == 0;
        const QPointF direction(std::cos(angle), std::sin(angle));
        const QPointF inner = kBurstCenter + direction * 22.0;
        const QPointF outer = kBurstCenter + direction * (tall ? 84.0 : 60.0);
        const QColor body = tall ? QColor(255, 176, 60) : QColor(255, 80, 40);
        shapes.push_back({Shape::LINE,
                          inner,
                          outer,
                          tall ? 9.0 : 8.0,
                          false,
                          0,
                          {{0, QColor(body.red(), body.green(), body.blue(), 40)},
                           {0.7, body},
                           {1, QColor(255, 236, 190)}}});
        if (tall) {
            shapes.push_back({Shape::CIRCLE,
                              outer,
                              QPointF(),
                              7.5,
                              true,
                              7.5,
                              {{0, QColor(255, 255, 245)}, {1, QColor(255, 210, 140)}}});
        }
    }
    shapes.push_back(
        {Shape::CIRCLE,
         kBurstCenter,
         QPointF(),
         20,
         true,
         20,
         {{0, QColor(255, 255, 240)}, {0.6, QColor(255, 220, 150)}, {1, QColor(255, 150, 60)}}});
    return shapes;
}

QBrush brushOf(const Shape& shape)
{
    QGradientStops stops;
    for (const Stop& stop : shape.stops) {
        stops.append({stop.at, stop.color});
    }
    if (shape.radial) {
        QRadialGradient gradient(shape.from, shape.reach);
        gradient.setStops(stops);
        return QBrush(gradient);
    }
    QLinearGradient gradient(shape.from, shape.to);
    gradient.setStops(stops);
    return QBrush(gradient);
}

QString number(double value)
{
    return QString::number(value, 'f', 2);
}

QString svgGradient(const Shape& shape, const QString& id)
{
    QString text;
    QTextStream out(&text);
    if (shape.radial) {
        out << "    <radialGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" cx=\""
            << number(shape.from.x()) << "\" cy=\"" << number(shape.from.y()) << "\" r=\""
            << number(shape.reach) << "\">\n";
    } else {
        out << "    <linearGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" x1=\""
            << number(shape.from.x()) << "\" y1=\"" << number(shape.from.y()) << "\" x2=\""
            << number(shape.to.x()) << "\" y2=\"" << number(shape.to.y()) << "\">\n";
    }
    for (const Stop& stop : shape.stops) {
        out << "      <stop offset=\"" << number(stop.at) << "\" stop-color=\""
            << stop.color.name(QColor::HexRgb) << "\" stop-opacity=\""
            << number(stop.color.alphaF()) << "\"/>\n";
    }
    out << (shape.radial ? "    </radialGradient>\n" : "    </linearGradient>\n");
    return text;
}

}  // namespace

QImage programIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);
    for (const Shape& shape : iconShapes()) {
        switch (shape.kind) {
            case Shape::TILE:
                painter.setPen(QPen(QColor(255, 120, 40, 110), 2));
                painter.setBrush(brushOf(shape));
                painter.drawRoundedRect(QRectF(shape.from, shape.to), shape.size, shape.size);
                break;
            case Shape::CIRCLE:
                painter.setPen(Qt::NoPen);
                painter.setBrush(brushOf(shape));
                painter.drawEllipse(shape.from, shape.size, shape.size);
                break;
            case Shape::LINE:
                painter.setPen(QPen(brushOf(shape), shape.size, Qt::SolidLine, Qt::RoundCap));
                painter.setBrush(Qt::NoBrush);
                painter.drawLine(shape.from, shape.to);
                break;
        }
    }
    return image;
}

QString programIconSvg()
{
    const std::vector<Shape> shapes = iconShapes();
    QString definitions;
    QString body;
    QTextStream out(&body);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const Shape& shape = shapes[i];
        const QString id = QStringLiteral("g%1").arg(i);
        definitions += svgGradient(shape, id);
        switch (shape.kind) {
            case Shape::TILE:
                out << "  <rect x=\"" << number(shape.from.x()) << "\" y=\""
                    << number(shape.from.y()) << "\" width=\""
                    << number(shape.to.x() - shape.from.x()) << "\" height=\""
                    << number(shape.to.y() - shape.from.y()) << "\" rx=\"" << number(shape.size)
                    << "\" fill=\"url(#" << id
                    << ")\" stroke=\"#ff7828\" stroke-opacity=\"0.43\" stroke-width=\"2\"/>\n";
                break;
            case Shape::CIRCLE:
                out << "  <circle cx=\"" << number(shape.from.x()) << "\" cy=\""
                    << number(shape.from.y()) << "\" r=\"" << number(shape.size)
                    << "\" fill=\"url(#" << id << ")\"/>\n";
                break;
            case Shape::LINE:
                out << "  <line x1=\"" << number(shape.from.x()) << "\" y1=\""
                    << number(shape.from.y()) << "\" x2=\"" << number(shape.to.x()) << "\" y2=\""
                    << number(shape.to.y()) << "\" stroke=\"url(#" << id << ")\" stroke-width=\""
                    << number(shape.size) << "\" stroke-linecap=\"round\"/>\n";
                break;
        }
    }
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               "  <title>Skyfirewright</title>\n"
               "  <defs>\n") +
           definitions + QStringLiteral("  </defs>\n") + body + QStringLiteral("</svg>\n");
}

}  // namespace Artwork
