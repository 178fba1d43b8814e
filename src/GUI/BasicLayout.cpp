#include "GUI/BasicLayout.h"

#include "GUI/Component.h"

namespace GUI {

namespace {

// trunc(fraction x size + 0.5), the product in single precision as the fractions are kept.
int edge(float fraction, int size)
{
    return static_cast<int>(fraction * static_cast<float>(size) + 0.5);
}

}  // namespace

BasicLayout::BasicLayout(float leftFraction, int leftOffset, float topFraction, int topOffset,
                         float rightFraction, int rightOffset, float bottomFraction,
                         int bottomOffset)
    : left_(leftOffset),
      top_(topOffset),
      right_(rightOffset),
      bottom_(bottomOffset),
      leftFraction_(leftFraction),
      topFraction_(topFraction),
      rightFraction_(rightFraction),
      bottomFraction_(bottomFraction)
{
}

void BasicLayout::release()
{
    if (--references_ <= 0) {
        delete this;
    }
}

void BasicLayout::attach(Component*)
{
    addReference();
}

void BasicLayout::detach(Component*)
{
    release();
}

void BasicLayout::setFixed(bool widthFixed, bool heightFixed)
{
    widthFixed_ = widthFixed;
    heightFixed_ = heightFixed;
}

QRect BasicLayout::getRect(int parentWidth, int parentHeight) const
{
    const int x = edge(leftFraction_, parentWidth) + left_;
    const int y = edge(topFraction_, parentHeight) + top_;
    const int width = edge(rightFraction_, parentWidth) + right_ - x;
    const int height = edge(bottomFraction_, parentHeight) + bottom_ - y;
    return QRect(x, y, width, height);
}

void BasicLayout::place(Component* component, int parentWidth, int parentHeight)
{
    const QRect r = getRect(parentWidth, parentHeight);
    component->moveWindow(r.x(), r.y(), r.width(), r.height());
}

void BasicLayout::setSize(Component* component, int width, int height)
{
    bool changed = false;
    if (!widthFixed_ && width != lastWidth_) {
        right_ += width - lastWidth_;
        lastWidth_ = width;
        changed = true;
    }
    if (!heightFixed_ && height != lastHeight_) {
        bottom_ += height - lastHeight_;
        lastHeight_ = height;
        changed = true;
    }
    QWidget* parent =
        component->getHandle() != nullptr ? component->getHandle()->parentWidget() : nullptr;
    if (changed && parent != nullptr) {
        place(component, parent->width(), parent->height());
    }
}

}  // namespace GUI
