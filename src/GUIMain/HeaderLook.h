#pragma once

#include <QColor>
#include <QImage>
#include <string>

#include "GUI/WidgetColors.h"

namespace GUIMain::HeaderLook {

// The look of the top of the window and of the menu: a dark stage with warm amber and
// ember accents, like the glow of a shell against the night sky.
inline constexpr GUI::ColorF kAmber{1.0f, 0.694f, 0.282f, 1.0f};
inline constexpr GUI::ColorF kEmber{0.878f, 0.275f, 0.153f, 1.0f};
inline constexpr GUI::ColorF kEdge{0.431f, 0.227f, 0.102f, 1.0f};
inline constexpr GUI::ColorF kPanel{0.071f, 0.071f, 0.086f, 1.0f};
inline constexpr GUI::ColorF kStage{0.098f, 0.094f, 0.114f, 1.0f};

// Amber faces on the dark panel of the status display.
inline constexpr GUI::WidgetColors kStatusColors{kAmber, kEdge, kPanel};
// The menu's buttons stand on the stage colour.
inline constexpr GUI::WidgetColors kMenuColors{kAmber, kEdge, kStage};

inline QColor text()
{
    return QColor(236, 228, 216);
}
inline QColor dimText()
{
    return QColor(150, 142, 132);
}

// An image of the program's "images" folder; a null image when it is missing or unreadable,
// whose area then stays undrawn.
QImage loadProgramImage(const std::wstring& fileName);

}  // namespace GUIMain::HeaderLook
