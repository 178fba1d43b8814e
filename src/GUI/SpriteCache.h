#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>
#include <string>
#include <unordered_map>

namespace GUI {

class RenderTarget;

// Small pictures the widgets draw again and again (the cells of a button grid, the lamps of
// a firing-module view with their numbers), drawn once and copied from then on. A picture is
// drawn on the opaque background it will stand on, at the same fraction of a pixel as in
// the widget, so copying it gives exactly the pixels that drawing would have given.
//
// The pictures are shared by all widgets of the process (the toolkit is single-threaded)
// and dropped all at once when they take more than a few megabytes or when the fonts go.
class SpriteCache {
public:
    // Builds the name of a picture from everything its pixels depend on.
    class Key {
    public:
        Key() { bytes_.reserve(96); }
        Key& add(int value) { return addBytes(&value, sizeof value); }
        Key& add(double value) { return addBytes(&value, sizeof value); }
        Key& add(const QColor& color);
        Key& add(const QString& text);
        const std::string& bytes() const { return bytes_; }

    private:
        Key& addBytes(const void* data, std::size_t size);
        std::string bytes_;
    };

    // True when pictures may stand in for drawing on `target`: a bitmap target of a whole
    // pixel ratio, drawn without transformation, clipping or opacity, on an opaque
    // background. The caller also knows that the area a picture covers shows nothing but
    // `background` before it is drawn.
    static bool canCopyTo(const RenderTarget& target, const QPainter& painter,
                          const QColor& background);

    // Copies the picture named `key` into `painter` so that it covers `area` (pixels of the
    // target). The first time, the picture is drawn: `background` fills it, and `paint`
    // draws in the target's coordinates, antialiased as a target's painter is; what falls
    // outside `area` is lost. The key names everything `paint` depends on besides the
    // area's size, the pixel ratio and the background, with positions relative to the area.
    static void draw(QPainter& painter, qreal pixelRatio, const QRect& area, const Key& key,
                     const QColor& background, const std::function<void(QPainter&)>& paint);

    static std::size_t size();
    static void clear();
    // Off, canCopyTo() answers false and the widgets draw everything themselves (tests
    // compare the two).
    static void setEnabled(bool enabled);
};

}  // namespace GUI
