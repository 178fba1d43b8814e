#pragma once

#include <map>
#include <vector>

namespace GUIMain {

// One item of a list as a view shows it: its id and whether it is selected.
struct SelectableItem {
    int id = 0;
    bool selected = false;
};

// The selection flags that moving the selection one item changes, in a view's order: forward
// selects the item after the last selected one, backward the one before the first selected
// one; without `extend` every other selected item is deselected. At the end of the list the
// edge item stays selected, so the selection is never lost by stepping past it. Nothing
// changes (an empty map) when nothing is selected.
std::map<int, bool> stepSelection(const std::vector<SelectableItem>& order, bool forward,
                                  bool extend);

}  // namespace GUIMain
