#pragma once

#include <string>

#include "GUI/D2DComponent.h"
#include "GUIMain/TimelineCueIndex.h"
#include "GUIMain/TimelineView.h"

namespace GUIMain {

class Timeline;

// The cues drawn over the waveform, and the mouse on the timeline. In cue mode it covers the
// waveform and its pixels are the view's times: a click selects the cue nearest the time
// (within 8 pixels), a drag selects the cues of a band, the right button seeks, the middle
// button pans and the wheel zooms around the time under the mouse. In overview mode it is the
// strip of the whole show in the bottom bar: a pixel stands for the show length per pixel,
// and the left button centres the view there.
class WaveformCues : public GUI::D2DComponent {
public:
    enum class Mode { kCues, kOverview };

    // Pixels within which a click picks a cue.
    static constexpr double kPickPixels = 8.0;
    // How far a cue's look reaches left and right of its pixel: the marker's head, and the
    // number drawn right of it.
    static constexpr int kMarkerLeft = 8;
    static constexpr int kMarkerRight = 48;

    WaveformCues(Timeline& timeline, Mode mode);

    std::wstring getWindowClassName() const override { return L"WaveformCues"; }
    std::intptr_t handleMessage(GUI::Message& message) override;
    void draw(GUI::RenderTarget& target) override;

    Mode getMode() const { return mode_; }
    bool isDraggingBand() const { return dragging_ && bandStart_ != bandEnd_; }
    bool isSeeking() const { return seeking_; }
    bool hasBand() const { return dragging_ && mode_ == Mode::kCues; }
    int getBandStart() const { return bandStart_; }
    int getBandEnd() const { return bandEnd_; }

    // The view moved: the time under a resting mouse changed with it.
    void viewChanged();

    // The time pixel x stands for.
    double timeAt(double x) const;

    // Draws the markers of `index` for a view over `width` x `height` pixels; shared with
    // the benchmark. Cue mode draws the cues of the span only (found by time), with DMX bars
    // and frame ticks; overview mode draws every cue at show length per pixel `ratio`. Under
    // a clip, the pieces outside it are left out; what is drawn inside is what an unclipped
    // drawing puts there (which cue holds a crowded pixel, where the numbers go).
    static void drawCues(QPainter& painter, const TimelineCueIndex& index, const TimelineView& view,
                         Mode mode, int width, int height, double framesPerSecond);

private:
    void mouseMoved(const GUI::Message& message);
    void setHoverX(int x);
    void leftDown(int x);
    void leftUp(int x, bool shift);
    void seekTo(int x);
    void panTo(int x);
    void endGestures();

    Timeline& timeline_;
    Mode mode_;
    bool dragging_ = false;
    bool seeking_ = false;
    bool panning_ = false;
    int bandStart_ = 0;
    int bandEnd_ = 0;
    int panX_ = 0;
    double panStart_ = 0;
    int hoverX_ = -1;  // -1: the mouse is elsewhere
};

}  // namespace GUIMain
