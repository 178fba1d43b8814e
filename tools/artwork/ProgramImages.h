#pragma once

#include <QImage>

// The pictures the main window draws from its images folder.
namespace Artwork {

// "mainhead.png": the header band, 1920 x 100. The window shows as much of it as it is
// wide; the left 550 x 100 hold the logo, the right end stays calm under the status display.
QImage headerBand();

// "logoglowred.png": the red glow laid over the header's logo, 550 x 100, transparent
// outside the glow.
QImage logoGlow();

// "menuhead.png": the head of the main menu, 1024 x 160.
QImage menuHead();

}  // namespace Artwork
