#pragma once

#include <QImage>
#include <QString>

// The application icon, a burst over a rising trail on a night-blue tile. It is made of a
// few plain shapes, so that the same drawing gives the PNG and the scalable SVG.
namespace Artwork {

// The icon as a `size` x `size` PNG picture (transparent around the tile).
QImage programIcon(int size);

// The icon as an SVG document of 256 x 256 units.
QString programIconSvg();

}  // namespace Artwork
