#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

#include "GUI/WidgetColors.h"

namespace GUI {

// The shared look of the widgets: one frame shape and the shades mixed from a widget's
// three colours, so that buttons, fields and panels read as one family.
class WidgetLook {
public:
    static constexpr qreal kCornerRadius = 4.0;
    // Disabled widgets draw with this opacity.
    static constexpr qreal kDisabledOpacity = 0.45;

    // a + (b - a) x t, channel by channel.
    static QColor mix(const QColor& a, const QColor& b, qreal t);

    // A button body in `rect`: the face colour when on or pressed, else a shade between the
    // background and the edge; brighter while hovered; a face-coloured ring when focused.
    static void drawButtonBody(QPainter& painter, const QRectF& rect, const WidgetColors& colors,
                               bool lit, bool pressed, bool hover, bool focused);
    // The colour of text and glyphs on a button body drawn with the same `lit`.
    static QColor buttonInk(const WidgetColors& colors, bool lit);

    // An edit field body: darker than the background, its edge lit while editing.
    static void drawFieldBody(QPainter& painter, const QRectF& rect, const WidgetColors& colors,
                              bool editing, bool hover);
};

}  // namespace GUI
