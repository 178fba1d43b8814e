#include "GUI/D2DScrollbar.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QStyleHints>
#include <algorithm>
#include <cmath>

#include "GUI/SpriteCache.h"
#include "GUI/StackedLayout.h"
#include "GUI/WidgetLook.h"

namespace GUI {

D2DScrollbar::RepeatSettings D2DScrollbar::RepeatSettings::fromSystem()
{
    RepeatSettings settings;
    // Repeats a second = speed / 31 x 27.5 + 2.5, turned round.
    const double rate = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
    const double speed = std::round((rate - 2.5) / 27.5 * 31.0);
    settings.speed = static_cast<int>(std::clamp(speed, 0.0, 31.0));
    return settings;
}

int D2DScrollbar::RepeatSettings::firstDelayMs() const
{
    return static_cast<int>(delay / 3.0 * 750.0 + 250.0);
}

int D2DScrollbar::RepeatSettings::intervalMs() const
{
    return static_cast<int>(std::trunc(100.0 / (speed / 31.0 * 27.5 + 2.5) + 0.5));
}

D2DScrollbar::D2DScrollbar(Orientation orientation, WidgetColors colors)
    : orientation_(orientation), colors_(colors), repeat_(RepeatSettings::fromSystem())
{
    preferredWidth_ = orientation == kVertical ? 16 : 150;
    preferredHeight_ = orientation == kVertical ? 150 : 16;
}

D2DScrollbar::~D2DScrollbar()
{
    installOn(nullptr);
}

void D2DScrollbar::installOn(StackedLayout* layout)
{
    if (layout_ != nullptr) {
        layout_->setScrollFunction(nullptr);
    }
    layout_ = layout;
    if (layout_ != nullptr) {
        layout_->setScrollFunction([this](int contentLength, int visibleLength) {
            // Called while the layout places its content: no call back into it.
            placingLayout_ = true;
            setPage(visibleLength);
            setTotal(contentLength);
            placingLayout_ = false;
            return position_;
        });
    }
}

int D2DScrollbar::getLength() const
{
    if (getHandle() == nullptr) {
        return 0;
    }
    return orientation_ == kVertical ? getHandle()->height() : getHandle()->width();
}

int D2DScrollbar::getThickness() const
{
    if (getHandle() == nullptr) {
        return 0;
    }
    return orientation_ == kVertical ? getHandle()->width() : getHandle()->height();
}

double D2DScrollbar::getThumbStart() const
{
    const int track = std::max(0, getLength() - 2 * getThickness());
    if (total_ <= 0) {
        return getThickness();
    }
    return static_cast<double>(position_) / total_ * track + getThickness();
}

double D2DScrollbar::getThumbEnd() const
{
    const int track = std::max(0, getLength() - 2 * getThickness());
    if (total_ <= 0) {
        return getThickness() + track;  // nothing to scroll: the thumb fills the track
    }
    return static_cast<double>(position_ + page_) / total_ * track + getThickness();
}

double D2DScrollbar::getPixelsToUnits() const
{
    const double track = std::max(0, getLength() - 2 * getThickness());
    const double freeTrack = track - (getThumbEnd() - getThumbStart());
    return freeTrack > 0.0 ? (total_ - page_) / freeTrack : 0.0;
}

D2DScrollbar::Part D2DScrollbar::hitTest(QPoint point) const
{
    const int a = along(point);
    const int thickness = getThickness();
    if (a < 0 || a >= getLength()) {
        return kPartNone;
    }
    if (a < thickness) {
        return kPartArrowUp;
    }
    if (a >= getLength() - thickness) {
        return kPartArrowDown;
    }
    if (a >= getThumbStart() && a < getThumbEnd()) {
        return kPartThumb;
    }
    return kPartTrack;
}

void D2DScrollbar::setTotal(int total)
{
    total_ = std::max(total, page_);
    setPositionClamped(position_, !placingLayout_);
    invalidate();
}

void D2DScrollbar::setPage(int page)
{
    page_ = std::max(0, page);
    total_ = std::max(total_, page_);
    setPositionClamped(position_, !placingLayout_);
    invalidate();
}

void D2DScrollbar::setPosition(int position)
{
    setPositionClamped(position, !placingLayout_);
}

void D2DScrollbar::scrollBy(int pixels)
{
    setPosition(position_ + pixels);
}

void D2DScrollbar::makeVisible(int start, int end)
{
    if (end - start > page_ || start < position_) {
        setPosition(start);
    } else if (end > position_ + page_) {
        setPosition(end - page_);
    }
}

void D2DScrollbar::setPositionClamped(int position, bool tellLayout)
{
    const int clamped = std::clamp(position, 0, std::max(0, total_ - page_));
    if (clamped == position_) {
        return;
    }
    position_ = clamped;
    invalidate();
    if (tellLayout && layout_ != nullptr) {
        layout_->scrolled();
    }
}

void D2DScrollbar::step()
{
    switch (pressed_) {
        case kPartArrowUp: scrollBy(-kLineStep); break;
        case kPartArrowDown: scrollBy(kLineStep); break;
        case kPartTrack:
            // Pages towards the pressed point and stops once the thumb covers it.
            if (trackTarget_ < getThumbStart()) {
                scrollBy(-page_);
            } else if (trackTarget_ >= getThumbEnd()) {
                scrollBy(page_);
            }
            break;
        default: break;
    }
}

void D2DScrollbar::stopRepeat()
{
    if (repeating_) {
        killTimer(kRepeatTimer);
        repeating_ = false;
    }
}

std::intptr_t D2DScrollbar::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageLButtonDown: {
            pressed_ = hitTest(message.position);
            if (pressed_ == kPartThumb) {
                dragStartMouse_ = along(message.position);
                dragStartValue_ = position_;
            } else if (pressed_ != kPartNone) {
                trackTarget_ = along(message.position);
                step();
                setTimer(kRepeatTimer, repeat_.firstDelayMs());
                repeating_ = true;
            }
            invalidate();
            return 0;
        }
        case kMessageMouseMove:
            if (!hover_) {
                hover_ = true;
                invalidate();
            }
            if (pressed_ == kPartThumb) {
                const double units =
                    (along(message.position) - dragStartMouse_) * getPixelsToUnits() + 0.5;
                setPosition(static_cast<int>(std::trunc(units)) + dragStartValue_);
            } else if (pressed_ == kPartTrack) {
                trackTarget_ = along(message.position);
            }
            return 0;
        case kMessageMouseLeave:
            hover_ = false;
            invalidate();
            return 0;
        case kMessageLButtonUp:
            stopRepeat();
            pressed_ = kPartNone;
            invalidate();
            return 0;
        case kMessageTimer:
            if (message.wParam == static_cast<std::uint64_t>(kRepeatTimer)) {
                if (pressed_ == kPartNone) {
                    stopRepeat();
                } else {
                    // The first period was the delay; from now on the repeat interval.
                    setTimer(kRepeatTimer, repeat_.intervalMs());
                    step();
                }
                return 0;
            }
            break;
        case kMessageKillFocus:
        case kMessageDestroy: stopRepeat(); break;
        default: break;
    }
    return D2DComponent::handleMessage(message);
}

void D2DScrollbar::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSizeF size(target.getSize());
    const QColor background = colors_.background.toQColor();
    const bool vertical = orientation_ == kVertical;
    const double length = vertical ? size.height() : size.width();
    const double thickness = vertical ? size.width() : size.height();
    auto span = [&](double from, double to) {
        return vertical ? QRectF(0, from, thickness, to - from)
                        : QRectF(from, 0, to - from, thickness);
    };
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge = colors_.edge.toQColor();
    const QColor face = colors_.face.toQColor();
    const QColor arrowColors[2] = {
        pressed_ == kPartArrowUp ? face : WidgetLook::mix(edge, face, hover_ ? 0.5 : 0.25),
        pressed_ == kPartArrowDown ? face : WidgetLook::mix(edge, face, hover_ ? 0.5 : 0.25)};

    // The frame: the track and the arrows, a triangle pointing to each end, lit while
    // pressed. It does not move with the position, so it is copied from a picture.
    auto drawFrame = [&](QPainter& painter) {
        painter.fillRect(span(thickness, length - thickness),
                         WidgetLook::mix(background, edge, 0.35));
        for (int end = 0; end < 2; ++end) {
            const QRectF box = end == 0 ? span(0, thickness) : span(length - thickness, length);
            const QRectF inner =
                box.adjusted(thickness * 0.3, thickness * 0.3, -thickness * 0.3, -thickness * 0.3);
            QPainterPath arrow;
            if (vertical) {
                const double tipY = end == 0 ? inner.top() : inner.bottom();
                const double baseY = end == 0 ? inner.bottom() : inner.top();
                arrow.moveTo(inner.center().x(), tipY);
                arrow.lineTo(inner.right(), baseY);
                arrow.lineTo(inner.left(), baseY);
            } else {
                const double tipX = end == 0 ? inner.left() : inner.right();
                const double baseX = end == 0 ? inner.right() : inner.left();
                arrow.moveTo(tipX, inner.center().y());
                arrow.lineTo(baseX, inner.bottom());
                arrow.lineTo(baseX, inner.top());
            }
            arrow.closeSubpath();
            painter.fillPath(arrow, arrowColors[end]);
        }
    };
    if (SpriteCache::canCopyTo(target, p, background)) {
        SpriteCache::Key key;
        key.add(QStringLiteral("scroll frame"))
            .add(vertical ? 1 : 0)
            .add(edge)
            .add(arrowColors[0])
            .add(arrowColors[1]);
        SpriteCache::draw(p, target.getDevicePixelRatio(), QRect(QPoint(0, 0), target.getSize()),
                          key, background, drawFrame);
    } else {
        p.fillRect(QRectF(QPointF(0, 0), size), background);
        drawFrame(p);
    }

    // The thumb, with the same scale as the geometry above.
    const double track = std::max(0.0, length - 2 * thickness);
    double start = thickness;
    double end = thickness + track;
    if (total_ > 0) {
        start = static_cast<double>(position_) / total_ * track + thickness;
        end = static_cast<double>(position_ + page_) / total_ * track + thickness;
    }
    const QRectF thumb = span(start, end).adjusted(2, 2, -2, -2);
    if (thumb.isValid()) {
        const QColor thumbColor =
            pressed_ == kPartThumb ? face : WidgetLook::mix(edge, face, hover_ ? 0.45 : 0.2);
        p.setPen(Qt::NoPen);
        p.setBrush(thumbColor);
        p.drawRoundedRect(thumb, thickness * 0.3, thickness * 0.3);
    }
}

}  // namespace GUI
