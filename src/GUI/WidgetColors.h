#pragma once

#include "GUI/Colors.h"

namespace GUI {

// The three colours a widget is given at creation: its face, its edge and the background it
// stands on. Every other shade a widget draws is mixed from these.
struct WidgetColors {
    ColorF face = kFaceColor;
    ColorF edge = kEdgeColor;
    ColorF background = kBackgroundColor;
};

}  // namespace GUI
