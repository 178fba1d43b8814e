#pragma once

#include <string>

#include "GUI/D2DComponent.h"

namespace GUIMain {

// The level meter of the status display: the soundtrack's left and right output levels as
// two rows of lights, on a decibel scale from -48 dB to full scale. It draws again only when
// a level moves to another light.
class VUDisplay : public GUI::D2DComponent {
public:
    static constexpr int kFullScale = 32768;
    static constexpr int kLights = 24;

    VUDisplay();

    std::wstring getWindowClassName() const override { return L"VUDisplay"; }
    void draw(GUI::RenderTarget& target) override;

    // Levels 0 to 32768, as the player reports them.
    void setLevels(int left, int right);
    // How many lights a level turns on, 0 to kLights.
    static int litCount(int level);
    int getLitLeft() const { return litLeft_; }
    int getLitRight() const { return litRight_; }

private:
    int litLeft_ = 0;
    int litRight_ = 0;
};

}  // namespace GUIMain
