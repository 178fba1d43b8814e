#pragma once

#include <QRect>

#include "GUI/ILayout.h"

namespace GUI {

// Places one component by its four edges, each a fraction of the parent's client width or
// height plus an offset in pixels: an edge at W - 250 is fraction 1 with offset -250.
//
// Both dimensions are fixed unless setFixed() frees them; a free dimension grows its right
// or bottom offset by what a size request adds to the last one.
class BasicLayout : public ILayout {
public:
    BasicLayout(float leftFraction, int leftOffset, float topFraction, int topOffset,
                float rightFraction, int rightOffset, float bottomFraction, int bottomOffset);

    void addReference() override { ++references_; }
    void release() override;
    void attach(Component* component) override;
    void detach(Component* component) override;
    void place(Component* component, int parentWidth, int parentHeight) override;
    void setSize(Component* component, int width, int height) override;

    void setFixed(bool widthFixed, bool heightFixed);
    // The rectangle place() gives a component in a parent of that client size.
    QRect getRect(int parentWidth, int parentHeight) const;

private:
    ~BasicLayout() override = default;

    int references_ = 0;
    bool widthFixed_ = true;
    bool heightFixed_ = true;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    int left_;
    int top_;
    int right_;
    int bottom_;
    float leftFraction_;
    float topFraction_;
    float rightFraction_;
    float bottomFraction_;
};

}  // namespace GUI
