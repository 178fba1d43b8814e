#pragma once

#include "GUI/D2DContainer.h"
#include "GUI/StackedLayout.h"

// A panel whose children stack downward and scroll: the wheel scrolls it, and it answers
// the ensure-visible request of any component inside it by scrolling that component (with
// 6 pixels above and below) into view. A bar on the right shows the visible part.
class ScrollPanel : public GUI::D2DContainer {
public:
    ~ScrollPanel() override;

    std::wstring getWindowClassName() const override { return L"ScrollPanel"; }
    void onCreate() override;
    std::intptr_t handleMessage(GUI::Message& message) override;
    void draw(GUI::RenderTarget& target) override;
    void drawOverChildren(GUI::RenderTarget& target) override;

    GUI::StackedLayout* getStack() const { return stack_; }
    void scrollBy(int pixels);

private:
    int clampedOffset(int offset) const;

    GUI::StackedLayout* stack_ = nullptr;
    int offset_ = 0;
    int contentLength_ = 0;
    int visibleLength_ = 0;
};
