#include "GUIMain/SelectionStep.h"

#include <cstddef>

namespace GUIMain {

std::map<int, bool> stepSelection(const std::vector<SelectableItem>& order, bool forward,
                                  bool extend)
{
    std::map<int, bool> changes;
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(order.size());
    // The edge of the selection in the direction of the step.
    std::ptrdiff_t edge = -1;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const std::ptrdiff_t at = forward ? count - 1 - i : i;
        if (order[static_cast<std::size_t>(at)].selected) {
            edge = at;
            break;
        }
    }
    if (edge < 0) {
        return changes;
    }
    const std::ptrdiff_t next = forward ? edge + 1 : edge - 1;
    const bool hasNext = next >= 0 && next < count;
    if (!extend) {
        for (std::ptrdiff_t i = 0; i < count; ++i) {
            const SelectableItem& item = order[static_cast<std::size_t>(i)];
            if (item.selected && (hasNext || i != edge)) {
                changes[item.id] = false;
            }
        }
    }
    if (hasNext && !order[static_cast<std::size_t>(next)].selected) {
        changes[order[static_cast<std::size_t>(next)].id] = true;
    }
    return changes;
}

}  // namespace GUIMain
