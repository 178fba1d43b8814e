#pragma once

#include <string>

#include "GUI/D2DContainer.h"

namespace GUIMain {

// The timeline under the header band: the soundtrack's waveform and the cue markers.
// Not built yet: it draws its background only, and its zoom requests are logged.
class Timeline : public GUI::D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"Timeline"; }
    void draw(GUI::RenderTarget& target) override;

    virtual void zoomToFit();
    virtual void zoomIn();
    virtual void zoomOut();
};

}  // namespace GUIMain
