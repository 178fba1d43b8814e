#pragma once

namespace GUIMain {

// The time view of the timeline as numbers: which span of show time the W pixels show, and
// the rules by which zooming, scrolling, resizing and playback move it. All times are
// milliseconds of show time; the scale is milliseconds per pixel.
//
// Every change of start or scale goes through setView(), which keeps the view inside one
// day and says whether anything changed, so the owner repaints only then.
class TimelineView {
public:
    static constexpr double kDayMs = 86400000.0;
    static constexpr double kMinScale = 0.5;
    static constexpr double kZoomFactor = 0.8;
    static constexpr double kNoHover = -1e8;
    static constexpr int kScrollPixels = 50;
    // The overview strip is the width less the buttons and time displays around it.
    static constexpr int kOverviewMargin = 345;

    double getStart() const { return start_; }
    double getScale() const { return scale_; }
    double getEnd() const { return start_ + width_ * scale_; }
    int getWidth() const { return width_; }
    double getLength() const { return length_; }
    bool isFitted() const { return fitted_; }
    bool isAutoscroll() const { return autoscroll_; }
    double getHover() const { return hover_; }
    bool hasHover() const { return hover_ != kNoHover; }
    void setHover(double hover) { hover_ = hover; }
    // Show length per pixel of the overview strip; 0 when the strip has no width.
    double getOverviewRatio() const;

    // The time at pixel x and the pixel of a time.
    double timeAt(double x) const { return x * scale_ + start_; }
    double pixelOf(double time) const { return (time - start_) / scale_; }

    // Moves the view to start `start` at `scale`, clamped to time 0, the minimum scale and the
    // end of the day (a window too wide for a day at the scale shows the whole day). Clears
    // the fitted mark when the view changed; true then.
    bool setView(double start, double scale);

    // Zooms by `steps` (positive in, negative out) keeping the time at pixel `pixel` in place.
    bool zoomAround(int pixel, double steps);
    // Around the middle of the width, as the buttons and the menu do.
    bool zoomAtCentre(double steps) { return zoomAround(width_ / 2, steps); }
    // Around the time under the mouse; nothing without one.
    bool zoomAtHover(double steps);
    // Shows the whole show and keeps it shown while the size and length change.
    bool zoomToFit();
    // Moves by 50 pixels: -1 left, +1 right.
    bool scroll(int direction);
    // From fitted, autoscroll goes on (and fitting off); otherwise autoscroll flips.
    void toggleAutoscroll();
    void setAutoscroll(bool on) { autoscroll_ = on; }

    // Playback reached `position`: with autoscroll on and not fitted, a position beyond 70 %
    // of the width or before 20 % moves the view so that it sits at 25 %. `gesture` holds
    // the view while the user drags a band or seeks.
    bool follow(double position, bool gesture);
    // The width changed: fitted views fit again, others keep the visible span.
    bool resize(int width);
    // The show length changed: fitted views fit again.
    bool setLength(double length);

    bool canScrollLeft() const { return start_ > 0; }
    bool canScrollRight() const { return getEnd() < kDayMs; }
    bool canZoomOut() const { return canScrollRight(); }
    bool canZoomIn() const { return scale_ > kMinScale; }

private:
    double start_ = 0;
    double scale_ = 10;
    int width_ = 0;
    int lastWidth_ = 0;
    double length_ = 0;
    double hover_ = kNoHover;
    bool fitted_ = false;
    bool autoscroll_ = true;
};

}  // namespace GUIMain
