#include "GUIMain/Timeline.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "GUI/BasicLayout.h"
#include "GUI/Colors.h"
#include "GUI/D2DSMPTEDisplay.h"
#include "GUI/RenderTarget.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Waveform.h"
#include "GUIMain/WaveformCues.h"
#include "Project/IOperation.h"
#include "Project/Project.h"

namespace GUIMain {

namespace {

constexpr std::uint32_t kChildStyle = GUI::kStyleChild | GUI::kStyleVisible;

// A 16-pixel button or a display in the bottom bar: its top 18 pixels above the bottom.
GUI::BasicLayout* barLayout(float fraction, int left, int width)
{
    return new GUI::BasicLayout(fraction, left, 1, -18, fraction, left + width, 1, -2);
}

}  // namespace

Timeline::Timeline() = default;

Timeline::~Timeline() = default;

void Timeline::onCreate()
{
    project_ = Project::Project::getInstance();
    auto addButton = [this](GlyphButton* button, const wchar_t* name, GUI::BasicLayout* layout) {
        button->createAsD2DChild(name, L"", layout, kChildStyle, 0, this);
        return button;
    };
    zoomInButton_ = addButton(new ZoomInButton(*this), L"ZoomInButton", barLayout(0, 160, 16));
    zoomOutButton_ = addButton(new ZoomOutButton(*this), L"ZoomOutButton", barLayout(0, 176, 16));
    zoomToFitButton_ =
        addButton(new ZoomToFitButton(*this), L"ZoomToFitButton", barLayout(0, 192, 16));
    autoscrollButton_ =
        addButton(new AutoScrollButton(*this), L"AutoscrollButton", barLayout(0, 208, 16));
    scrollLeftButton_ =
        addButton(new ScrollLeftButton(*this), L"ScrollLeftButton", barLayout(0, 228, 16));
    scrollRightButton_ =
        addButton(new ScrollRightButton(*this), L"ScrollRightButton", barLayout(1, -96, 16));

    waveform_ = new Waveform();
    waveform_->createAsD2DChild(L"Waveform", L"", new GUI::BasicLayout(0, 0, 0, 0, 1, 0, 1, -20),
                                kChildStyle, 0, this);
    cues_ = new WaveformCues(*this, WaveformCues::Mode::kCues);
    cues_->createAsD2DChild(L"WaveformCues", L"", new GUI::BasicLayout(0, 0, 0, 0, 1, 0, 1, -20),
                            kChildStyle, 0, this);
    overview_ = new WaveformCues(*this, WaveformCues::Mode::kOverview);
    overview_->createAsD2DChild(
        L"ScrollbarCues", L"",
        new GUI::BasicLayout(0, kOverviewLeft, 1, -kBarHeight, 1, -kOverviewRightMargin, 1, 0),
        kChildStyle, 0, this);
    auto addDisplay = [this](const wchar_t* name, GUI::BasicLayout* layout) {
        auto* display = new GUI::D2DSMPTEDisplay();
        display->createAsD2DChild(name, L"", layout, kChildStyle, 0, this);
        return display;
    };
    timeLeft_ = addDisplay(L"TimeLeft", barLayout(0, 2, 72));
    timeHover_ = addDisplay(L"TimeHover", barLayout(0, 81, 72));
    timeRight_ = addDisplay(L"TimeRight", barLayout(1, -76, 72));

    if (project_ != nullptr) {
        Project::ProjectState& state = project_->getProjectState();
        state.addListener(this);
        project_->addCueListListener(this);
        project_->getProjectData().addListener(this);
        position_ = state.getPosition().getMilliseconds();
        view_.setLength(state.getShowEnd().getMilliseconds());
    }
    view_.resize(getHandle()->width());
    viewChanged();

    addStateProvider(this, [this](nlohmann::json& state) {
        nlohmann::json timeline;
        timeline["startMs"] = view_.getStart();
        timeline["scale"] = view_.getScale();
        timeline["lengthMs"] = view_.getLength();
        timeline["fitted"] = view_.isFitted();
        timeline["autoscroll"] = view_.isAutoscroll();
        timeline["hoverMs"] = view_.hasHover() ? nlohmann::json(view_.getHover()) : nullptr;
        state["timeline"] = timeline;
    });
}

void Timeline::onDestroy()
{
    removeStateProvider(this);
    if (project_ != nullptr) {
        project_->getProjectState().removeListener(this);
        project_->removeCueListListener(this);
        project_->getProjectData().removeListener(this);
        project_ = nullptr;
    }
}

void Timeline::resized()
{
    D2DContainer::resized();
    view_.resize(getHandle()->width());
    // The waveform takes the new width even when the span stayed.
    viewChanged();
    overview_->invalidate();
}

bool Timeline::setView(double start, double scale)
{
    if (!view_.setView(start, scale)) {
        return false;
    }
    viewChanged();
    return true;
}

void Timeline::viewChanged()
{
    refreshLooks();
    if (waveform_ != nullptr) {
        waveform_->setView(view_.getStart(), view_.getScale(), view_.getWidth());
    }
    if (cues_ != nullptr) {
        cues_->viewChanged();
    }
    refreshTimeDisplays();
    invalidate();
}

void Timeline::refreshLooks()
{
    if (scrollLeftButton_ == nullptr) {
        return;
    }
    scrollLeftButton_->setEnabled(view_.canScrollLeft());
    scrollRightButton_->setEnabled(view_.canScrollRight());
    zoomOutButton_->setEnabled(view_.canZoomOut());
    zoomInButton_->setEnabled(view_.canZoomIn());
    zoomToFitButton_->setLook(view_.isFitted());
    autoscrollButton_->setLook(view_.isAutoscroll());
}

double Timeline::getFramesPerSecond() const
{
    const int format =
        project_ != nullptr ? project_->getProjectData().getFormat() : SMPTE::SMPTE_30;
    return SMPTE::framesPerSecond(format);
}

std::int64_t Timeline::packedTime(double ms) const
{
    const int format =
        project_ != nullptr ? project_->getProjectData().getFormat() : SMPTE::SMPTE_30;
    const double frames = std::trunc(ms / 1000.0 * SMPTE::framesPerSecond(format) + 0.5);
    const double limit = SMPTE::framesPerDay(format) - 1;
    return SMPTE::fromFrameNo(format, static_cast<int>(std::clamp(frames, 0.0, limit))).getBCD();
}

void Timeline::refreshTimeDisplays()
{
    if (timeLeft_ == nullptr) {
        return;
    }
    timeLeft_->setValue(packedTime(view_.getStart()));
    timeRight_->setValue(packedTime(view_.getEnd()));
    timeHover_->setValue(view_.hasHover() ? packedTime(view_.getHover())
                                          : GUI::D2DSMPTEDisplay::kEmpty);
}

void Timeline::zoomToFit()
{
    view_.zoomToFit();
    viewChanged();
}

void Timeline::zoomIn()
{
    if (view_.zoomAtCentre(1)) {
        viewChanged();
    }
}

void Timeline::zoomOut()
{
    if (view_.zoomAtCentre(-1)) {
        viewChanged();
    }
}

void Timeline::zoomAtHover(double steps)
{
    if (view_.zoomAtHover(steps)) {
        viewChanged();
    }
}

void Timeline::scrollLeft()
{
    if (view_.scroll(-1)) {
        viewChanged();
    }
}

void Timeline::scrollRight()
{
    if (view_.scroll(1)) {
        viewChanged();
    }
}

void Timeline::toggleAutoscroll()
{
    view_.toggleAutoscroll();
    refreshLooks();
}

void Timeline::hoverChanged(double ms)
{
    if (ms == view_.getHover()) {
        return;
    }
    view_.setHover(ms);
    if (timeHover_ != nullptr) {
        timeHover_->setValue(view_.hasHover() ? packedTime(ms) : GUI::D2DSMPTEDisplay::kEmpty);
    }
    invalidate();
}

void Timeline::seek(double ms)
{
    if (project_ == nullptr) {
        return;
    }
    const int format = project_->getProjectData().getFormat();
    const double frames =
        std::trunc(std::max(0.0, ms) / 1000.0 * SMPTE::framesPerSecond(format) + 0.5);
    const double limit = SMPTE::framesPerDay(format) - 1;
    project_->getProjectState().locate(
        SMPTE::fromFrameNo(format, static_cast<int>(std::min(frames, limit))));
}

void Timeline::runSelection(std::unique_ptr<Project::IOperation> operation)
{
    if (project_ != nullptr && operation != nullptr) {
        project_->submit(std::move(operation));
    }
}

bool Timeline::isGestureActive() const
{
    return (cues_ != nullptr && (cues_->hasBand() || cues_->isSeeking())) ||
           (overview_ != nullptr && overview_->isSeeking());
}

const TimelineCueIndex& Timeline::cueIndex()
{
    if (cueIndex_.isStale() && project_ != nullptr) {
        cueIndex_.rebuild(project_->getProjectData().getCueList(), getFramesPerSecond());
    }
    return cueIndex_;
}

void Timeline::onShowEndChanged(const SMPTE& showEnd)
{
    const bool changed = view_.setLength(showEnd.getMilliseconds());
    if (changed || view_.isFitted()) {
        viewChanged();
    }
    overview_->invalidate();
    invalidate();
}

void Timeline::onPositionChanged(const SMPTE& position)
{
    position_ = position.getMilliseconds();
    if (view_.follow(position_, isGestureActive())) {
        viewChanged();
    }
    positionMoved();
}

void Timeline::positionMoved()
{
    // Playback reports every frame; the overlay is drawn again only when the line moves to
    // another pixel, and then only the columns of the old line and the new one.
    const auto pixel = static_cast<long long>(std::floor(view_.pixelOf(position_)));
    const double ratio = view_.getOverviewRatio();
    const long long overviewPixel =
        ratio > 1 ? static_cast<long long>(std::floor(position_ / ratio)) : -1;
    if (pixel != drawnPositionPixel_ || overviewPixel != drawnOverviewPixel_) {
        invalidatePositionLines(drawnPositionPixel_, drawnOverviewPixel_);
        invalidatePositionLines(pixel, overviewPixel);
    }
}

void Timeline::invalidatePositionLines(long long pixel, long long overviewPixel)
{
    QWidget* handle = getHandle();
    if (handle == nullptr) {
        return;
    }
    const int width = handle->width();
    const int height = handle->height();
    // The line is 1.5 pixels wide and smoothed: it touches the pixels beside its own.
    if (pixel >= -4 && pixel <= width + 4) {
        invalidateRect(QRect(static_cast<int>(pixel) - 3, 0, 7, height - kBarHeight + 2));
    }
    if (overviewPixel >= 0 && overviewPixel <= width) {
        invalidateRect(QRect(kOverviewLeft + static_cast<int>(overviewPixel) - 2,
                             height - kBarHeight, 5, kBarHeight));
    }
}

void Timeline::cuesMoved()
{
    cueIndex_.markStale();
    cuesRestyled();
}

void Timeline::cuesRestyled()
{
    if (cues_ != nullptr) {
        cues_->invalidate();
        overview_->invalidate();
    }
}

void Timeline::cueAdded(Project::Cue*)
{
    cuesMoved();
}

void Timeline::cueRemoved(Project::Cue*)
{
    cuesMoved();
}

void Timeline::cueTimecodeChanged(Project::Cue*)
{
    cuesMoved();
}

void Timeline::cueCommandChanged(Project::Cue*)
{
    cuesMoved();
}

void Timeline::cueDurationChanged(Project::Cue*)
{
    cuesMoved();
}

void Timeline::cueStateChanged(Project::Cue* cue)
{
    // While a show plays, cue states change every frame somewhere: the markers follow ten
    // times a second, and only for a cue in view.
    cueRestyled(cue, false);
}

void Timeline::cueSelectionChanged(Project::Cue* cue)
{
    cueRestyled(cue, true);
}

void Timeline::cuePyroTypeChanged(Project::Cue* cue)
{
    cueRestyled(cue, true);
}

void Timeline::cueRestyled(const Project::Cue* cue, bool now)
{
    if (cues_ == nullptr || cues_->getHandle() == nullptr) {
        return;
    }
    const double ms = cue->getTimecode().getMilliseconds();
    const double margin = 12 * view_.getScale();
    if (ms + cueIndex_.getLongestDurationMs() + margin >= view_.getStart() &&
        ms - margin <= view_.getEnd()) {
        if (now) {
            cues_->invalidate();
        } else {
            // A state shows in the colours of the cue's marker and of its number beside it.
            const double x =
                std::clamp(view_.pixelOf(ms), -100.0, cues_->getHandle()->width() + 100.0);
            const QRect marker(static_cast<int>(std::floor(x)) - WaveformCues::kMarkerLeft, 0,
                               WaveformCues::kMarkerLeft + WaveformCues::kMarkerRight,
                               cues_->getHandle()->height());
            pendingMarkers_ = pendingMarkers_.united(marker);
            if (!markerRestylePending_) {
                markerRestylePending_ = true;
                setTimer(kMarkerTimer, kMarkerPeriodMs);
            }
        }
    }
    if (!overviewRestylePending_) {
        overviewRestylePending_ = true;
        setTimer(kOverviewTimer, kOverviewPeriodMs);
    }
}

std::intptr_t Timeline::handleMessage(GUI::Message& message)
{
    if (message.code == GUI::kMessageTimer && message.wParam == kOverviewTimer) {
        killTimer(kOverviewTimer);
        overviewRestylePending_ = false;
        overview_->invalidate();
        return 0;
    }
    if (message.code == GUI::kMessageTimer && message.wParam == kMarkerTimer) {
        killTimer(kMarkerTimer);
        markerRestylePending_ = false;
        cues_->invalidateRect(pendingMarkers_);
        pendingMarkers_ = QRect();
        return 0;
    }
    return D2DContainer::handleMessage(message);
}

void Timeline::formatChanged(int)
{
    cuesMoved();
    refreshTimeDisplays();
    invalidate();
}

void Timeline::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSize size = target.getSize();
    // The bar in the background colour; the waveform's area in that colour at half strength
    // over black, filled opaque (a blend of the whole area would cost every frame).
    const GUI::ColorF bg = GUI::kBackgroundColor;
    p.fillRect(QRect(0, 0, size.width(), size.height() - kBarHeight),
               QColor::fromRgbF(bg.red * 0.5f, bg.green * 0.5f, bg.blue * 0.5f));
    p.fillRect(QRect(0, size.height() - kBarHeight, size.width(), kBarHeight), bg.toQColor());
}

void Timeline::drawOverChildren(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const int width = target.getSize().width();
    const int height = target.getSize().height();
    const double main = height - kBarHeight;
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor yellow(255, 230, 0);
    QColor hoverColour(255, 255, 255);
    hoverColour.setAlphaF(0.3f);

    // The overview strip: the visible span, the play position and the hover time.
    const double ratio = view_.getOverviewRatio();
    drawnOverviewPixel_ = -1;
    if (ratio > 1) {
        p.save();
        p.setClipRect(
            QRectF(kOverviewLeft, height - 19, width - kOverviewRightMargin - kOverviewLeft, 18),
            Qt::IntersectClip);
        QColor span(255, 255, 255);
        span.setAlphaF(0.15f);
        const double left = view_.getStart() / ratio + kOverviewLeft;
        const double right = view_.getEnd() / ratio + kOverviewLeft;
        p.setPen(QPen(span, 1.0));
        p.setBrush(span);
        p.drawRect(QRectF(left, height - 18.5, std::max(1.0, right - left), 17.0));
        drawnOverviewPixel_ = static_cast<long long>(std::floor(position_ / ratio));
        const double at = static_cast<double>(drawnOverviewPixel_) + kOverviewLeft + 0.5;
        p.setPen(QPen(yellow, 1.0));
        p.drawLine(QPointF(at, height - 19), QPointF(at, height - 1));
        if (view_.hasHover()) {
            const double hover = std::floor(view_.getHover() / ratio) + kOverviewLeft + 0.5;
            p.setPen(QPen(hoverColour, 1.0));
            p.drawLine(QPointF(hover, height - 19), QPointF(hover, height - 1));
        }
        p.restore();
    }

    // The main area: play position, hover time and the selection band.
    p.setRenderHint(QPainter::Antialiasing, true);
    const double position = view_.pixelOf(position_);
    drawnPositionPixel_ = static_cast<long long>(std::floor(position));
    if (position >= -2 && position <= width + 2) {
        p.setPen(QPen(yellow, 1.5));
        p.drawLine(QPointF(position, 1), QPointF(position, main));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (view_.hasHover()) {
        const double hover = std::floor(view_.pixelOf(view_.getHover())) + 0.5;
        if (hover >= 0 && hover <= width) {
            p.setPen(QPen(hoverColour, 1.0));
            p.drawLine(QPointF(hover, 0), QPointF(hover, main));
        }
    }
    if (cues_ != nullptr && cues_->hasBand() && cues_->getBandStart() != cues_->getBandEnd()) {
        const int left = std::min(cues_->getBandStart(), cues_->getBandEnd());
        const int right = std::max(cues_->getBandStart(), cues_->getBandEnd());
        QColor band(255, 255, 255);
        band.setAlphaF(0.3f);
        p.fillRect(QRectF(left, 0, right - left, main), band);
    }

    // Separators of the bottom bar.
    QColor separator(0, 0, 0);
    separator.setAlphaF(0.4f);
    p.setPen(QPen(separator, 1.0));
    p.drawLine(QPointF(0, height - 19.5), QPointF(width, height - 19.5));
    p.drawLine(QPointF(0, height - 0.5), QPointF(width, height - 0.5));
    p.drawLine(QPointF(78.5, height - 19), QPointF(78.5, height - 1));
    p.drawLine(QPointF(157.5, height - 19), QPointF(157.5, height - 1));
}

// The glyphs: drawn in a box two pixels larger on each side than the button offers.
void Timeline::GlyphButton::drawGlyph(QPainterPath& sink, const QRectF& box)
{
    drawShape(sink, box.adjusted(-2, -2, 2, 2));
}

namespace {

// A magnifier ring with its handle; the sign goes inside the ring.
void addMagnifier(QPainterPath& sink, const QRectF& box, QRectF& lens)
{
    const double d = std::min(box.width(), box.height()) * 0.78;
    lens = QRectF(box.left(), box.top(), d, d);
    const double thickness = std::max(1.2, d * 0.16);
    sink.addEllipse(lens);
    sink.addEllipse(lens.adjusted(thickness, thickness, -thickness, -thickness));
    const QPointF c = lens.center();
    const double r = d * 0.5;
    const double s = 0.70710678;
    const double w = thickness * 0.75;
    QPolygonF handle;
    handle << QPointF(c.x() + r * s - w * s, c.y() + r * s + w * s)
           << QPointF(c.x() + r * s + w * s, c.y() + r * s - w * s)
           << QPointF(box.right() + w * s, box.bottom() - w * s)
           << QPointF(box.right() - w * s, box.bottom() + w * s);
    sink.addPolygon(handle);
    sink.closeSubpath();
}

void addBar(QPainterPath& sink, const QPointF& centre, double length, double thickness,
            bool vertical)
{
    const QSizeF size = vertical ? QSizeF(thickness, length) : QSizeF(length, thickness);
    sink.addRect(QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                        size.height()));
}

void addTriangle(QPainterPath& sink, const QRectF& box, bool right)
{
    QPolygonF triangle;
    if (right) {
        triangle << box.topLeft() << QPointF(box.right(), box.center().y()) << box.bottomLeft();
    } else {
        triangle << box.topRight() << QPointF(box.left(), box.center().y()) << box.bottomRight();
    }
    sink.addPolygon(triangle);
    sink.closeSubpath();
}

}  // namespace

void Timeline::ZoomInButton::drawShape(QPainterPath& sink, const QRectF& box)
{
    QRectF lens;
    addMagnifier(sink, box, lens);
    // A plus as one outline, so that its crossing is filled.
    const QPointF c = lens.center();
    const double a = lens.width() * 0.28;
    const double t = std::max(0.6, lens.width() * 0.08);
    QPolygonF plus;
    plus << QPointF(c.x() - t, c.y() - a) << QPointF(c.x() + t, c.y() - a)
         << QPointF(c.x() + t, c.y() - t) << QPointF(c.x() + a, c.y() - t)
         << QPointF(c.x() + a, c.y() + t) << QPointF(c.x() + t, c.y() + t)
         << QPointF(c.x() + t, c.y() + a) << QPointF(c.x() - t, c.y() + a)
         << QPointF(c.x() - t, c.y() + t) << QPointF(c.x() - a, c.y() + t)
         << QPointF(c.x() - a, c.y() - t) << QPointF(c.x() - t, c.y() - t);
    sink.addPolygon(plus);
    sink.closeSubpath();
}

void Timeline::ZoomInButton::clicked()
{
    timeline_.zoomIn();
}

void Timeline::ZoomOutButton::drawShape(QPainterPath& sink, const QRectF& box)
{
    QRectF lens;
    addMagnifier(sink, box, lens);
    addBar(sink, lens.center(), lens.width() * 0.56, std::max(1.2, lens.width() * 0.16), false);
}

void Timeline::ZoomOutButton::clicked()
{
    timeline_.zoomOut();
}

void Timeline::ZoomToFitButton::drawShape(QPainterPath& sink, const QRectF& box)
{
    const double t = std::max(1.2, box.width() * 0.14);
    const double arm = box.width() * 0.3;
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? box.left() : box.right() - t;
        const double armX = side == 0 ? box.left() : box.right() - arm;
        sink.addRect(QRectF(x, box.top(), t, box.height()));
        sink.addRect(QRectF(armX + (side == 0 ? t : 0), box.top(), arm - t, t));
        sink.addRect(QRectF(armX + (side == 0 ? t : 0), box.bottom() - t, arm - t, t));
    }
    // A double arrow between the brackets: the show stretched to the width.
    const QRectF inner =
        box.adjusted(arm + 0.5, box.height() * 0.3, -arm - 0.5, -box.height() * 0.3);
    addTriangle(sink, QRectF(inner.left(), inner.top(), inner.width() / 2, inner.height()), false);
    addTriangle(sink, QRectF(inner.center().x(), inner.top(), inner.width() / 2, inner.height()),
                true);
}

void Timeline::ZoomToFitButton::clicked()
{
    timeline_.zoomToFit();
}

void Timeline::AutoScrollButton::drawShape(QPainterPath& sink, const QRectF& box)
{
    // A play head with an arrow running ahead of it.
    const double t = std::max(1.2, box.width() * 0.14);
    sink.addRect(QRectF(box.left(), box.top(), t, box.height()));
    const QRectF arrow = box.adjusted(t + 1.5, box.height() * 0.15, 0, -box.height() * 0.15);
    addBar(sink, QPointF(arrow.left() + arrow.width() * 0.3, arrow.center().y()),
           arrow.width() * 0.6, t, false);
    addTriangle(sink,
                QRectF(arrow.left() + arrow.width() * 0.5, arrow.top(), arrow.width() * 0.5,
                       arrow.height()),
                true);
}

void Timeline::AutoScrollButton::clicked()
{
    timeline_.toggleAutoscroll();
}

void Timeline::ScrollLeftButton::drawShape(QPainterPath& sink, const QRectF& box)
{
    addTriangle(sink, box.adjusted(box.width() * 0.2, 0, -box.width() * 0.2, 0), false);
}

void Timeline::ScrollLeftButton::clicked()
{
    timeline_.scrollLeft();
}

void Timeline::ScrollRightButton::drawShape(QPainterPath& sink, const QRectF& box)
{
    addTriangle(sink, box.adjusted(box.width() * 0.2, 0, -box.width() * 0.2, 0), true);
}

void Timeline::ScrollRightButton::clicked()
{
    timeline_.scrollRight();
}

}  // namespace GUIMain
