#pragma once

#include "GUI/D2DContainer.h"
#include "GUI/StackedLayout.h"

// Adds every widget of the toolkit, in its states, to the gallery's panel: buttons, glyph
// buttons, labels, edit labels, panels, the metadata panel, scrollbars, button grids, the
// timecode display and the firing-module view. `count` numbers the children's names.
void addWidgetShowcase(GUI::D2DContainer* panel, GUI::StackedLayout* stack, int& count);
