#include "DemoBox.h"

#include <QPainterPath>

#include "GUI/Colors.h"

using namespace GUI;

DemoBox::DemoBox(int direction, float startFractionX, int height)
    : direction_(direction), startFractionX_(startFractionX)
{
    preferredWidth_ = 400;
    preferredHeight_ = height;
}

DemoBox::~DemoBox()
{
    if (stack_ != nullptr) {
        stack_->release();
    }
}

void DemoBox::onCreate()
{
    if (direction_ >= 0) {
        stack_ = new StackedLayout(getHandle(), direction_, startFractionX_, 0.0f, 1.0f);
        // Held by the box as well as by its children.
        stack_->addReference();
    }
}

void DemoBox::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF r(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(r, kBackgroundColor.toQColor());
    p.setPen(QPen(kEdgeColor.toQColor().lighter(140), 1));
    p.setBrush(kBackgroundColor.toQColor().darker(125));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}
