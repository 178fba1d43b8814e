#pragma once

#include <string>

#include "GUI/D2DContainer.h"
#include "GUI/WidgetColors.h"

namespace GUI {

class D2DLabel;
class StackedLayout;

// A titled group of widgets. Its children stack downward under the title: a child passes
// getStack() as its layout at creation. The title is the window text given at creation
// until setTitle() changes it; an empty title takes no room.
class D2DPanel : public D2DContainer {
public:
    explicit D2DPanel(WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DPanel"; }
    void onCreate() override;
    void draw(RenderTarget& target) override;

    void setTitle(const std::wstring& title);
    const std::wstring& getTitle() const { return title_; }
    // The layout of the panel's children; null before the window is created.
    StackedLayout* getStack() const { return stack_; }
    // Asks the panel's own layout for the height that holds every visible child (call it
    // after adding, showing or hiding children); returns that height.
    int fitHeight();

protected:
    const WidgetColors& getColors() const { return colors_; }

private:
    WidgetColors colors_;
    std::wstring title_;
    bool titleSet_ = false;
    StackedLayout* stack_ = nullptr;  // shared with the children, which hold its references
    D2DLabel* titleLabel_ = nullptr;
};

}  // namespace GUI
