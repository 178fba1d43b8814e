#include "ScrollPanel.h"

#include <algorithm>

#include "GUI/Colors.h"

using namespace GUI;

ScrollPanel::~ScrollPanel()
{
    if (stack_ != nullptr) {
        stack_->release();
    }
}

void ScrollPanel::onCreate()
{
    stack_ = new StackedLayout(getHandle(), StackedLayout::kDownward);
    stack_->addReference();
    stack_->setScrollFunction([this](int contentLength, int visibleLength) {
        contentLength_ = contentLength;
        visibleLength_ = visibleLength;
        offset_ = clampedOffset(offset_);
        return offset_;
    });
}

int ScrollPanel::clampedOffset(int offset) const
{
    return std::clamp(offset, 0, std::max(0, contentLength_ - visibleLength_));
}

void ScrollPanel::scrollBy(int pixels)
{
    const int offset = clampedOffset(offset_ + pixels);
    if (offset != offset_) {
        offset_ = offset;
        stack_->scrolled();
        invalidate();
    }
}

std::intptr_t ScrollPanel::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageMouseWheel: scrollBy(-message.wheelDelta * 40 / 120); return 0;
        case kMessageEnsureVisible: {
            if (message.window == nullptr || !getHandle()->isAncestorOf(message.window)) {
                return 0;
            }
            const QRect r(message.window->mapTo(getHandle(), QPoint(0, 0)), message.window->size());
            if (r.top() - 6 < 0) {
                scrollBy(r.top() - 6);
            } else if (r.bottom() + 1 + 6 > getHandle()->height()) {
                scrollBy(r.bottom() + 1 + 6 - getHandle()->height());
            }
            return 1;
        }
        default: return D2DContainer::handleMessage(message);
    }
}

void ScrollPanel::draw(RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), kBackgroundColor.toQColor());
}

void ScrollPanel::drawOverChildren(RenderTarget& target)
{
    if (contentLength_ <= visibleLength_ || contentLength_ <= 0) {
        return;
    }
    const QSize size = target.getSize();
    const double scale = static_cast<double>(size.height()) / contentLength_;
    const QRectF thumb(size.width() - 10, offset_ * scale + 2, 6, visibleLength_ * scale - 4);
    QPainter& p = target.painter();
    p.setPen(Qt::NoPen);
    p.setBrush(kFaceColor.toQColor());
    p.drawRoundedRect(thumb, 3, 3);
}
