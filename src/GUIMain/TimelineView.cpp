#include "GUIMain/TimelineView.h"

#include <algorithm>
#include <cmath>

namespace GUIMain {

double TimelineView::getOverviewRatio() const
{
    const int strip = width_ - kOverviewMargin;
    return strip > 1 ? length_ / strip : 0.0;
}

bool TimelineView::setView(double start, double scale)
{
    if (start == start_ && scale == scale_) {
        return false;
    }
    // A scale below the minimum (a fit of an empty show) would stall every pixel on one
    // time; a start that is not a number would poison every later view.
    if (!(scale >= kMinScale)) {
        scale = kMinScale;
    }
    if (!(start > 0)) {
        start = 0;
    }
    const double span = width_ * scale;
    if (span + start > kDayMs) {
        start = kDayMs - span;
        if (start < 0) {
            start = 0;
            scale = width_ > 0 ? kDayMs / width_ : scale;
        }
    }
    if (start == start_ && scale == scale_) {
        return false;
    }
    fitted_ = false;
    start_ = start;
    scale_ = scale;
    return true;
}

bool TimelineView::zoomAround(int pixel, double steps)
{
    const double newScale = std::max(scale_ * std::pow(kZoomFactor, steps), kMinScale);
    return setView(pixel * scale_ + start_ - pixel * newScale, newScale);
}

bool TimelineView::zoomAtHover(double steps)
{
    if (!hasHover()) {
        return false;
    }
    const int pixel = static_cast<int>(std::trunc((hover_ - start_) / scale_ + 0.5));
    return zoomAround(pixel, steps);
}

bool TimelineView::zoomToFit()
{
    const bool changed = setView(0, width_ > 0 ? length_ / width_ : scale_);
    fitted_ = true;
    return changed;
}

bool TimelineView::scroll(int direction)
{
    return setView(start_ + direction * kScrollPixels * scale_, scale_);
}

void TimelineView::toggleAutoscroll()
{
    if (fitted_) {
        fitted_ = false;
        autoscroll_ = true;
    } else {
        autoscroll_ = !autoscroll_;
    }
}

bool TimelineView::follow(double position, bool gesture)
{
    if (!autoscroll_ || fitted_ || gesture) {
        return false;
    }
    const double x = (position - start_) / scale_;
    if (x > 0.7 * width_ || x < 0.2 * width_) {
        return setView(position - 0.25 * width_ * scale_, scale_);
    }
    return false;
}

bool TimelineView::resize(int width)
{
    const int last = lastWidth_;
    width_ = width;
    lastWidth_ = width;
    if (fitted_) {
        return zoomToFit();
    }
    if (last != 0 && width != last && width > 0) {
        return setView(start_, scale_ / (static_cast<double>(width) / last));
    }
    return false;
}

bool TimelineView::setLength(double length)
{
    length_ = length;
    return fitted_ && zoomToFit();
}

}  // namespace GUIMain
