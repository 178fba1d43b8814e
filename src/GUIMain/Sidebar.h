#pragma once

#include <string>

#include "GUI/D2DContainer.h"

namespace GUIMain {

// The sidebar beside the cue list, in which the selected cues are edited field by field.
// Not built yet: it draws its background only.
class Sidebar : public GUI::D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"Sidebar"; }
    void draw(GUI::RenderTarget& target) override;
};

}  // namespace GUIMain
