#pragma once

#include <QColor>

namespace GUI {

// A colour as widgets are given it: red, green, blue and alpha in 0..1.
struct ColorF {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 1;

    QColor toQColor() const { return QColor::fromRgbF(red, green, blue, alpha); }
};

// The three colours of the look: faces of buttons and glyphs, their edges, and the
// background of panels and displays.
inline constexpr ColorF kFaceColor{0.588f, 0.851f, 1.0f, 1.0f};
inline constexpr ColorF kEdgeColor{0.114f, 0.369f, 0.514f, 1.0f};
inline constexpr ColorF kBackgroundColor{0.067f, 0.302f, 0.435f, 1.0f};

}  // namespace GUI
