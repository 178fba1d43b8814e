#pragma once

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace GUI {

// Where a drawing component draws. A window target draws straight onto its window during
// the window's paint; a bitmap target holds an image of its own, which the parent copies
// into its own target. Bitmaps carry the window's device pixel ratio, so they stay sharp
// on high-density screens.
//
// A target is lost when the device changes under it (markDeviceLost(): a screen came or
// went, the pixel ratio changed): endDraw() then reports kRecreateTarget, and its component
// throws it away and builds a new one at the next paint.
class RenderTarget {
public:
    enum class EndResult { kOk, kRecreateTarget };

    static std::unique_ptr<RenderTarget> createForWindow(QWidget* window);
    // A bitmap target of `size` in device-independent pixels, with this target's pixel
    // ratio; null when the size is empty or the image cannot be had.
    std::unique_ptr<RenderTarget> createCompatible(QSize size) const;

    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    bool isWindowTarget() const { return window_ != nullptr; }
    QSize getSize() const { return size_; }
    // A window target follows its window's client size.
    void resize(QSize size) { size_ = size; }
    qreal getDevicePixelRatio() const { return pixelRatio_; }

    // The painter is valid between beginDraw() and endDraw(). A bitmap keeps its last
    // picture: whoever draws paints the whole of it.
    bool beginDraw();
    EndResult endDraw();
    bool isDrawing() const { return painter_.isActive(); }
    QPainter& painter() { return painter_; }

    // The picture of a bitmap target.
    const QImage& getBitmap() const { return image_; }
    // Copies another target's bitmap into this one with its top left corner at `at`.
    void drawBitmap(const RenderTarget& source, QPoint at);

    // Every target made before this call is lost.
    static void markDeviceLost() { ++deviceGeneration_; }

private:
    RenderTarget() = default;

    static std::uint64_t deviceGeneration_;

    QPointer<QWidget> window_;
    QImage image_;
    QPainter painter_;
    QSize size_;
    qreal pixelRatio_ = 1.0;
    std::uint64_t generation_ = 0;
};

}  // namespace GUI
