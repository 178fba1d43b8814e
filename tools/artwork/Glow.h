#pragma once

#include <QImage>

class QPainter;

// Soft light for the artwork: a blur that turns sharp shapes into a glow, and an additive
// way of laying light over a picture (as light adds up in the night sky).
namespace Artwork {

// The image blurred by about `radius` pixels (three box passes, close to a Gaussian). The
// image is taken as premultiplied ARGB; its edges fade into transparency.
QImage blurred(const QImage& image, int radius);

// A transparent premultiplied ARGB image of the given size, to draw light into.
QImage lightLayer(int width, int height);

// Adds `light` onto the painter's device at the origin: the sharp layer and, scaled by
// `bloom`, its blur of `radius` pixels around it.
void addLight(QPainter& painter, const QImage& light, int radius, double bloom);

}  // namespace Artwork
