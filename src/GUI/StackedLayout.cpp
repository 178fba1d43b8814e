#include "GUI/StackedLayout.h"

#include <algorithm>

#include "GUI/Component.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

int fractionOf(float fraction, int size)
{
    return static_cast<int>(fraction * static_cast<float>(size) + 0.5);
}

// A component counts while it is not hidden, whether or not its window is on screen yet.
bool takesSpace(const Component* component)
{
    return component->getHandle() != nullptr && !component->getHandle()->isHidden();
}

}  // namespace

StackedLayout::StackedLayout(QWidget* scrolledWindow, int direction, float startFractionX,
                             float startFractionY, float crossSizeFraction)
    : scrolledWindow_(scrolledWindow),
      startFractionX_(startFractionX),
      startFractionY_(startFractionY),
      crossSizeFraction_(crossSizeFraction),
      direction_(direction)
{
    SKY_ASSERT(direction >= kLeftward && direction <= kDownward, "StackedLayout");
}

void StackedLayout::release()
{
    if (--references_ <= 0) {
        delete this;
    }
}

void StackedLayout::attach(Component* component)
{
    addReference();
    entries_.push_back({component, 0, 0});
}

void StackedLayout::detach(Component* component)
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [component](const Entry& e) { return e.component == component; }),
                   entries_.end());
    release();
}

void StackedLayout::addSpacer()
{
    entries_.push_back({nullptr, 0, 0});
}

void StackedLayout::place(Component* component, int parentWidth, int parentHeight)
{
    placeEntries(component, parentWidth, parentHeight);
}

void StackedLayout::setSize(Component* component, int width, int height)
{
    for (Entry& entry : entries_) {
        if (entry.component == component) {
            if (entry.width == width && entry.height == height) {
                return;
            }
            entry.width = width;
            entry.height = height;
            placeAll();
            return;
        }
    }
}

void StackedLayout::scrolled()
{
    placeAll();
}

void StackedLayout::placeAll()
{
    if (scrolledWindow_ != nullptr) {
        placeEntries(nullptr, scrolledWindow_->width(), scrolledWindow_->height());
    }
}

int StackedLayout::placeEntries(const Component* only, int width, int height)
{
    const bool vertical = isVertical();
    int contentLength = 0;
    for (const Entry& entry : entries_) {
        if (entry.component == nullptr) {
            contentLength += spacing_;
        } else if (takesSpace(entry.component)) {
            contentLength += (vertical ? entry.height : entry.width) + spacing_;
        }
    }
    const int offset =
        scrollFunction_ ? scrollFunction_(contentLength + spacing_, vertical ? height : width) : 0;

    int x = marginX_ + fractionOf(startFractionX_, width);
    int y = marginY_ + fractionOf(startFractionY_, height);
    if (vertical) {
        y -= offset;
    } else {
        x -= offset;
    }
    const int crossSize =
        fractionOf(crossSizeFraction_, vertical ? width : height) + crossSizeOffset_;

    for (const Entry& entry : entries_) {
        if (entry.component != nullptr && !takesSpace(entry.component)) {
            continue;
        }
        if (direction_ == kLeftward) {
            x -= entry.width;
        } else if (direction_ == kUpward) {
            y -= entry.height;
        }
        if (entry.component != nullptr && (only == nullptr || only == entry.component)) {
            if (vertical) {
                entry.component->moveWindow(x, y, crossSize, entry.height);
            } else {
                entry.component->moveWindow(x, y, entry.width, crossSize);
            }
        }
        switch (direction_) {
            case kLeftward: x -= spacing_; break;
            case kRightward: x += entry.width + spacing_; break;
            case kUpward: y -= spacing_; break;
            default: y += entry.height + spacing_; break;
        }
        if (only != nullptr && entry.component == only) {
            break;
        }
    }
    return vertical ? y : x;
}

}  // namespace GUI
