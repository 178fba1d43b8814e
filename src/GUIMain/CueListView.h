#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GUI/D2DContainer.h"

namespace GUIMain {

// The cue list under the header: one row a cue, sortable by its columns.
// Not built yet: it draws its background only. Its order is the cue list's (timecode)
// order, which is what an unsorted list shows.
class CueListView : public GUI::D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"CueList"; }
    void draw(GUI::RenderTarget& target) override;

    // The ids of the cues in the order the view shows them.
    virtual std::vector<int> getCueIdsInViewOrder() const;
};

}  // namespace GUIMain
