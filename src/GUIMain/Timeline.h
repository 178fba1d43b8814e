#pragma once

#include <memory>
#include <string>

#include "GUI/D2DContainer.h"
#include "GUI/D2DGlyphButton.h"
#include "GUIMain/TimelineCueIndex.h"
#include "GUIMain/TimelineView.h"
#include "Project/CueList.h"
#include "Project/ProjectData.h"
#include "Project/ProjectState.h"

namespace GUI {
class D2DSMPTEDisplay;
}

namespace Project {
class IOperation;
class Project;
}  // namespace Project

namespace GUIMain {

class Waveform;
class WaveformCues;

// The time view under the header band: the soundtrack's waveform, the cues as markers on
// it, the play position, the time under the mouse and a thin overview strip of the whole
// show. It only reads the project and the show state: selecting cues runs selection
// operations, seeking asks the show state to locate.
//
// The view (start and scale) changes only through setView(), which repaints the children
// that depend on it; playback moves only the overlay, so the waveform and the cue markers
// are composed from the pictures they drew last.
class Timeline : public GUI::D2DContainer,
                 public Project::ProjectState::Listener,
                 public Project::CueList::Listener,
                 public Project::ProjectData::Listener {
public:
    class GlyphButton;
    class ZoomInButton;
    class ZoomOutButton;
    class ZoomToFitButton;
    class AutoScrollButton;
    class ScrollLeftButton;
    class ScrollRightButton;

    // The bottom bar under the waveform: buttons, time displays and the overview strip.
    static constexpr int kBarHeight = 20;
    static constexpr int kOverviewLeft = 246;
    static constexpr int kOverviewRightMargin = 99;

    Timeline();
    ~Timeline() override;

    std::wstring getWindowClassName() const override { return L"Timeline"; }
    void onCreate() override;
    void onDestroy() override;
    std::intptr_t handleMessage(GUI::Message& message) override;
    void resized() override;
    void draw(GUI::RenderTarget& target) override;
    void drawOverChildren(GUI::RenderTarget& target) override;

    virtual void zoomToFit();
    virtual void zoomIn();
    virtual void zoomOut();
    void scrollLeft();
    void scrollRight();
    void toggleAutoscroll();
    // Zooms by `steps` around the time under the mouse (the wheel).
    void zoomAtHover(double steps);

    // The one way the view moves; false when nothing changed.
    bool setView(double start, double scale);
    const TimelineView& view() const { return view_; }
    double getPosition() const { return position_; }

    // The cue layer's reports.
    void hoverChanged(double ms);
    // Moves the show to `ms` (never before 0).
    void seek(double ms);
    // Runs a selection the cue layer built (null: nothing to do).
    void runSelection(std::unique_ptr<Project::IOperation> operation);
    // Whether the cue layer holds the view still (dragging a band, seeking).
    bool isGestureActive() const;
    // Cue states changed and their markers wait for the next timed redraw (ten a second in
    // the cue layer, twice a second in the overview strip).
    bool hasPendingRestyles(bool overviewToo) const
    {
        return markerRestylePending_ || (overviewToo && overviewRestylePending_);
    }

    // The cues by time, brought up to date first.
    const TimelineCueIndex& cueIndex();
    // The project's frame rate (24, 25, 29.97 or 30).
    double getFramesPerSecond() const;

    Waveform* getWaveform() const { return waveform_; }
    WaveformCues* getCueLayer() const { return cues_; }
    WaveformCues* getOverview() const { return overview_; }

    // Project::ProjectState::Listener
    void onShowEndChanged(const SMPTE& showEnd) override;
    void onPositionChanged(const SMPTE& position) override;
    // Project::CueList::Listener: the markers follow every change of a cue.
    void cueAdded(Project::Cue* cue) override;
    void cueRemoved(Project::Cue* cue) override;
    void cueTimecodeChanged(Project::Cue* cue) override;
    void cueCommandChanged(Project::Cue* cue) override;
    void cueDurationChanged(Project::Cue* cue) override;
    void cueStateChanged(Project::Cue* cue) override;
    void cueSelectionChanged(Project::Cue* cue) override;
    void cuePyroTypeChanged(Project::Cue* cue) override;
    // Project::ProjectData::Listener
    void formatChanged(int format) override;

private:
    // After every change of the view: button looks, waveform columns, markers, displays.
    void viewChanged();
    void refreshLooks();
    void refreshTimeDisplays();
    void cuesMoved();
    void cuesRestyled();
    // A cue's look changed: its marker is drawn again at once, or with the next batch.
    void cueRestyled(const Project::Cue* cue, bool now);
    // Repaints the overlay when the play position moved by a pixel somewhere it is drawn.
    void positionMoved();
    void invalidatePositionLines(long long pixel, long long overviewPixel);
    std::int64_t packedTime(double ms) const;

    static constexpr int kOverviewTimer = 2;
    static constexpr int kOverviewPeriodMs = 500;
    static constexpr int kMarkerTimer = 3;
    static constexpr int kMarkerPeriodMs = 100;

    TimelineView view_;
    bool overviewRestylePending_ = false;
    bool markerRestylePending_ = false;
    TimelineCueIndex cueIndex_;
    Project::Project* project_ = nullptr;
    double position_ = 0;
    // Where the last drawing put the play position's lines (-1: nowhere on the strip).
    long long drawnPositionPixel_ = -1;
    long long drawnOverviewPixel_ = -1;
    // The markers restyled since the last redraw of the cue layer, in its pixels.
    QRect pendingMarkers_;

    GlyphButton* zoomInButton_ = nullptr;
    GlyphButton* zoomOutButton_ = nullptr;
    GlyphButton* zoomToFitButton_ = nullptr;
    GlyphButton* autoscrollButton_ = nullptr;
    GlyphButton* scrollLeftButton_ = nullptr;
    GlyphButton* scrollRightButton_ = nullptr;
    Waveform* waveform_ = nullptr;
    WaveformCues* cues_ = nullptr;
    WaveformCues* overview_ = nullptr;
    GUI::D2DSMPTEDisplay* timeLeft_ = nullptr;
    GUI::D2DSMPTEDisplay* timeHover_ = nullptr;
    GUI::D2DSMPTEDisplay* timeRight_ = nullptr;
};

// The small vector-drawn buttons of the bottom bar; each calls one action of the timeline.
class Timeline::GlyphButton : public GUI::D2DGlyphButton {
public:
    explicit GlyphButton(Timeline& timeline) : timeline_(timeline) {}
    void drawGlyph(QPainterPath& sink, const QRectF& box) override;

protected:
    // The glyph in a box a little larger than the base class offers: the bar's buttons are
    // only 16 pixels.
    virtual void drawShape(QPainterPath& sink, const QRectF& box) = 0;
    Timeline& timeline_;
};

// A magnifier with a plus: one zoom step in around the middle.
class Timeline::ZoomInButton : public Timeline::GlyphButton {
public:
    using GlyphButton::GlyphButton;
    std::wstring getWindowClassName() const override { return L"ZoomInButton"; }
    void clicked() override;

protected:
    void drawShape(QPainterPath& sink, const QRectF& box) override;
};

// A magnifier with a minus: one zoom step out around the middle.
class Timeline::ZoomOutButton : public Timeline::GlyphButton {
public:
    using GlyphButton::GlyphButton;
    std::wstring getWindowClassName() const override { return L"ZoomOutButton"; }
    void clicked() override;

protected:
    void drawShape(QPainterPath& sink, const QRectF& box) override;
};

// Two brackets: the whole show; lit while the view is fitted.
class Timeline::ZoomToFitButton : public Timeline::GlyphButton {
public:
    using GlyphButton::GlyphButton;
    std::wstring getWindowClassName() const override { return L"ZoomToFitButton"; }
    void clicked() override;

protected:
    void drawShape(QPainterPath& sink, const QRectF& box) override;
};

// A play head with an arrow: the view follows playback; lit while it does.
class Timeline::AutoScrollButton : public Timeline::GlyphButton {
public:
    using GlyphButton::GlyphButton;
    std::wstring getWindowClassName() const override { return L"AutoScrollButton"; }
    void clicked() override;

protected:
    void drawShape(QPainterPath& sink, const QRectF& box) override;
};

// An arrow left: 50 pixels back.
class Timeline::ScrollLeftButton : public Timeline::GlyphButton {
public:
    using GlyphButton::GlyphButton;
    std::wstring getWindowClassName() const override { return L"ScrollLeftButton"; }
    void clicked() override;

protected:
    void drawShape(QPainterPath& sink, const QRectF& box) override;
};

// An arrow right: 50 pixels on.
class Timeline::ScrollRightButton : public Timeline::GlyphButton {
public:
    using GlyphButton::GlyphButton;
    std::wstring getWindowClassName() const override { return L"ScrollRightButton"; }
    void clicked() override;

protected:
    void drawShape(QPainterPath& sink, const QRectF& box) override;
};

}  // namespace GUIMain
