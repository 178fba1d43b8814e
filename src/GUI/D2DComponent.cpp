#include "GUI/D2DComponent.h"

#include "GUI/ComponentWidget.h"
#include "GUI/D2DContainer.h"
#include "GUI/WindowStyle.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

// A root whose drawing failed asks for another paint, as a window that was not validated
// does; a failure that repeats this often waits for the next change instead.
constexpr int kMaxRepaintRetries = 3;

}  // namespace

D2DComponent::D2DComponent() = default;

D2DComponent::~D2DComponent()
{
    if (d2dParent_ != nullptr && getHandle() != nullptr) {
        d2dParent_->removeChild(getHandle(), getName());
    }
    target_.reset();
    keptBrush_ = QBrush();
}

QWidget* D2DComponent::createAsD2DChild(const std::wstring& name, const std::wstring& text,
                                        ILayout* layout, std::uint32_t style, std::uint32_t exStyle,
                                        D2DContainer* parent, int controlId)
{
    SKY_ASSERT(parent != nullptr && parent->getHandle() != nullptr, "D2DComponent");
    QWidget* handle = create(name, text, layout, style, exStyle | kExStyleTransparent,
                             parent->getHandle(), controlId);
    // A child draws nothing on its own window: its pixels come through the root.
    handle->setAttribute(Qt::WA_OpaquePaintEvent, false);
    parent->addChild(handle, name, this);
    // Recorded once registered: a refused registration leaves no parent to unregister from.
    d2dParent_ = parent;
    return handle;
}

QWidget* D2DComponent::create(const std::wstring& name, const std::wstring& text, ILayout* layout,
                              std::uint32_t style, std::uint32_t exStyle, QWidget* parentWindow,
                              int controlId)
{
    QWidget* handle =
        Component::create(name, text, layout, style, exStyle, parentWindow, controlId);
    // A root paints every pixel of its window; Qt need not clear it first.
    handle->setAttribute(Qt::WA_OpaquePaintEvent, true);
    return handle;
}

std::intptr_t D2DComponent::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageSize:
            if (target_ != nullptr) {
                if (isRoot()) {
                    target_->resize(message.size);
                } else {
                    discardRenderTarget();
                }
            }
            resized();
            invalidate();
            // The parent's picture shows this child at its old size.
            if (d2dParent_ != nullptr) {
                d2dParent_->invalidate();
            }
            break;
        case kMessageMove:
        case kMessageShowWindow:
            if (d2dParent_ != nullptr) {
                d2dParent_->invalidate();
            }
            break;
        default: break;
    }
    return Component::handleMessage(message);
}

void D2DComponent::onPaint()
{
    // A child's pixels reach the screen through its root; its own paint has nothing to do.
    if (!isRoot()) {
        return;
    }
    if (renderComponent()) {
        failedPaints_ = 0;
    } else if (++failedPaints_ <= kMaxRepaintRetries) {
        getHandle()->update();
    }
}

void D2DComponent::createDeviceResources(RenderTarget&) {}

void D2DComponent::releaseDeviceResources() {}

void D2DComponent::resized() {}

void D2DComponent::createRenderTarget()
{
    if (target_ != nullptr || getHandle() == nullptr) {
        return;
    }
    if (isRoot()) {
        target_ = RenderTarget::createForWindow(getHandle());
    } else if (d2dParent_->getRenderTarget() != nullptr) {
        target_ = d2dParent_->getRenderTarget()->createCompatible(getHandle()->size());
    }
    if (target_ == nullptr) {
        return;
    }
    createDeviceResources(*target_);
    renderTargetCreated();
}

void D2DComponent::discardRenderTarget()
{
    target_.reset();
    keptBrush_ = QBrush();
    releaseDeviceResources();
}

void D2DComponent::markClean()
{
    dirty_ = false;
    dirtyRegion_ = QRegion();
}

void D2DComponent::invalidate()
{
    if (getHandle() == nullptr) {
        dirty_ = true;
        return;
    }
    invalidateRect(QRect(QPoint(0, 0), getHandle()->size()));
}

void D2DComponent::invalidateRect(const QRect& rect)
{
    QWidget* handle = getHandle();
    if (handle == nullptr) {
        dirty_ = true;
        return;
    }
    // Dirty with no region recorded is dirty all over (as a new component is).
    const QRect part = rect.intersected(QRect(QPoint(0, 0), handle->size()));
    if (part.isEmpty() ||
        (dirty_ && (dirtyRegion_.isEmpty() || QRegion(part).subtracted(dirtyRegion_).isEmpty()))) {
        return;
    }
    // Many small pieces cost more to clip against than the pixels between them.
    constexpr int kMaxPieces = 16;
    dirtyRegion_ += part;
    if (dirtyRegion_.rectCount() > kMaxPieces) {
        dirtyRegion_ = dirtyRegion_.boundingRect();
    }
    dirty_ = true;
    if (d2dParent_ != nullptr) {
        d2dParent_->invalidateRect(part.translated(handle->pos()));
    } else {
        handle->update(part);
    }
}

void D2DComponent::renderTargetCreated()
{
    invalidate();
}

bool D2DComponent::render()
{
    target_->painter().save();
    draw(*target_);
    target_->painter().restore();
    return true;
}

bool D2DComponent::renderComponent()
{
    QWidget* handle = getHandle();
    if (handle == nullptr || !handle->isVisible()) {
        return true;
    }
    createRenderTarget();
    if (target_ == nullptr) {
        return true;
    }
    if (dirty_ || isRoot()) {
        if (!target_->beginDraw()) {
            discardRenderTarget();
            return false;
        }
        const QRect whole(QPoint(0, 0), handle->size());
        if (isRoot()) {
            // Qt clips a window's painter to the part being painted already.
            const auto* widget = dynamic_cast<const ComponentWidget*>(handle);
            drawRegion_ = widget != nullptr ? widget->getPaintRegion() : QRegion();
            if (drawRegion_.isEmpty()) {
                drawRegion_ = whole;
            }
        } else {
            drawRegion_ = dirtyRegion_.isEmpty() ? QRegion(whole) : dirtyRegion_;
            if (drawRegion_ != QRegion(whole)) {
                target_->painter().setClipRegion(drawRegion_);
            }
        }
        const bool rendered = render();
        drawRegion_ = QRegion();
        if (target_ == nullptr || target_->endDraw() == RenderTarget::EndResult::kRecreateTarget) {
            discardRenderTarget();
            return false;
        }
        if (!rendered) {
            return false;
        }
        if (isRoot()) {
            markClean();
            return true;
        }
    }
    RenderTarget* parentTarget = d2dParent_->getRenderTarget();
    if (parentTarget != nullptr && parentTarget->isDrawing()) {
        parentTarget->drawBitmap(*target_, handle->geometry().topLeft());
    }
    markClean();
    return true;
}

}  // namespace GUI
