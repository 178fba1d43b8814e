#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "GUI/ILayout.h"
#include "GUI/Scrollable.h"

namespace GUI {

// Stacks the components attached to it along one direction inside a scrolled window, in
// attachment order, with a spacing between them. Each keeps the main-axis size it asked for
// (setSize); across, every one gets a share of the window less a fixed offset. Hidden
// components take no space and no spacing; a spacer takes exactly one spacing.
//
// A scroll function, when set (by the scrollbar that drives the window), is told the length
// of the content and of the visible part, and answers the scroll offset.
class StackedLayout : public ILayout, public Scrollable {
public:
    enum Direction { kLeftward = 0, kRightward = 1, kUpward = 2, kDownward = 3 };
    // (content length, visible length) -> scroll offset in pixels.
    using ScrollFunction = std::function<int(int contentLength, int visibleLength)>;

    // The stack starts at a fraction of the window (plus the margins) and runs in
    // `direction`; across it is `crossSizeFraction` of the window wide, less 28 pixels.
    explicit StackedLayout(QWidget* scrolledWindow, int direction = kDownward,
                           float startFractionX = 0.0f, float startFractionY = 0.0f,
                           float crossSizeFraction = 1.0f);

    void addReference() override { ++references_; }
    void release() override;
    // Appends an entry of size 0 x 0 for the component.
    void attach(Component* component) override;
    void detach(Component* component) override;
    // Places this one component (the entries before it decide where).
    void place(Component* component, int parentWidth, int parentHeight) override;
    // Keeps the size and places every entry again, unless the size is unchanged.
    void setSize(Component* component, int width, int height) override;
    void scrolled() override;

    // Appends a spacer entry.
    void addSpacer();
    void setScrollFunction(ScrollFunction function) { scrollFunction_ = std::move(function); }

    // Places every entry (or, with `only`, that component) in a window of the given client
    // size; returns the main-axis coordinate where the stack ends.
    int placeEntries(const Component* only, int width, int height);

private:
    struct Entry {
        Component* component;  // none for a spacer
        int width;
        int height;
    };

    ~StackedLayout() override = default;
    bool isVertical() const { return direction_ == kUpward || direction_ == kDownward; }
    void placeAll();

    int references_ = 0;
    QPointer<QWidget> scrolledWindow_;
    std::vector<Entry> entries_;
    int marginX_ = 6;
    int marginY_ = 6;
    int crossSizeOffset_ = -28;
    int spacing_ = 6;
    float startFractionX_;
    float startFractionY_;
    float crossSizeFraction_;
    int direction_;
    ScrollFunction scrollFunction_;
};

}  // namespace GUI
