#include "GUI/RenderTarget.h"

namespace GUI {

std::uint64_t RenderTarget::deviceGeneration_ = 0;

std::unique_ptr<RenderTarget> RenderTarget::createForWindow(QWidget* window)
{
    std::unique_ptr<RenderTarget> target(new RenderTarget);
    target->window_ = window;
    target->size_ = window->size();
    target->pixelRatio_ = window->devicePixelRatioF();
    target->generation_ = deviceGeneration_;
    return target;
}

std::unique_ptr<RenderTarget> RenderTarget::createCompatible(QSize size) const
{
    if (size.isEmpty()) {
        return nullptr;
    }
    std::unique_ptr<RenderTarget> target(new RenderTarget);
    target->image_ = QImage(size * pixelRatio_, QImage::Format_ARGB32_Premultiplied);
    if (target->image_.isNull()) {
        return nullptr;
    }
    target->image_.setDevicePixelRatio(pixelRatio_);
    target->image_.fill(Qt::transparent);
    target->size_ = size;
    target->pixelRatio_ = pixelRatio_;
    target->generation_ = deviceGeneration_;
    return target;
}

RenderTarget::~RenderTarget()
{
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool RenderTarget::beginDraw()
{
    QPaintDevice* device = window_ != nullptr ? static_cast<QPaintDevice*>(window_.data())
                                              : static_cast<QPaintDevice*>(&image_);
    if (window_ == nullptr && image_.isNull()) {
        return false;
    }
    if (!painter_.begin(device)) {
        return false;
    }
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
    return true;
}

RenderTarget::EndResult RenderTarget::endDraw()
{
    painter_.end();
    if (generation_ != deviceGeneration_) {
        return EndResult::kRecreateTarget;
    }
    if (window_ != nullptr && window_->devicePixelRatioF() != pixelRatio_) {
        return EndResult::kRecreateTarget;
    }
    return EndResult::kOk;
}

void RenderTarget::drawBitmap(const RenderTarget& source, QPoint at)
{
    painter_.drawImage(at, source.image_);
}

}  // namespace GUI
