#pragma once

#include "GUI/D2DContainer.h"
#include "GUI/StackedLayout.h"

// A framed group of components. With a stacking direction it stacks the children created
// through stack(); without one the children bring their own layouts.
class DemoBox : public GUI::D2DContainer {
public:
    // direction: a GUI::StackedLayout direction, or -1 for none.
    DemoBox(int direction, float startFractionX, int height);
    ~DemoBox() override;

    std::wstring getWindowClassName() const override { return L"DemoBox"; }
    void onCreate() override;
    void draw(GUI::RenderTarget& target) override;

    GUI::StackedLayout* getStack() const { return stack_; }

private:
    int direction_;
    float startFractionX_;
    GUI::StackedLayout* stack_ = nullptr;
};
