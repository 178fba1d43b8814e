#include "GUIMain/WaveformCues.h"

#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "GUI/RenderTarget.h"
#include "GUIMain/Timeline.h"
#include "Project/Operations/TimelineSelection.h"
#include "Project/Project.h"

namespace GUIMain {

namespace {

// Marker colours: the cue's type while it waits, its state once the show reaches it.
QColor typeColour(int type)
{
    switch (type) {
        case Project::CueCommand::TYPE_DMX512: return QColor(90, 200, 255);
        case Project::CueCommand::TYPE_REMINDER: return QColor(196, 156, 255);
        default: return QColor(255, 172, 84);
    }
}

QColor markerColour(int type, int state)
{
    switch (state) {
        case Project::CUE_DISABLED: return QColor(128, 128, 128);
        case Project::CUE_NEXT: return QColor(255, 236, 64);
        case Project::CUE_PREFIRE: return QColor(255, 140, 32);
        case Project::CUE_ACTIVE: return QColor(255, 64, 64);
        case Project::CUE_DONE: return typeColour(type).darker(200);
        case Project::CUE_SKIPPED: return QColor(208, 88, 208);
        default: return typeColour(type);
    }
}

int typeSlot(int type)
{
    return type == Project::CueCommand::TYPE_DMX512     ? 1
           : type == Project::CueCommand::TYPE_REMINDER ? 2
                                                        : 0;
}

// The cues that look alike are drawn together: one pen, one brush, one call per style.
struct Style {
    std::vector<QPointF> heads;  // where each head's picture goes
    QColor colour;
    bool selected = false;
    bool used = false;
};

constexpr int kStates = 8;
std::size_t styleIndex(int type, int state, bool selected)
{
    const int s = state >= 0 && state < kStates ? state : 1;
    return static_cast<std::size_t>((typeSlot(type) * kStates + s) * 2 + (selected ? 1 : 0));
}

// A marker's colour on its stem: a selected one white, the others a little see-through.
QRgb stemColour(const QColor& colour, bool selected)
{
    QColor line = selected ? QColor(255, 255, 255) : colour;
    line.setAlpha(selected ? 230 : 150);
    return qPremultiply(line.rgba());
}

// A marker head drawn once per look and then copied to every cue that has that look: one
// filled outline per cue costs far more than copying a few pixels.
QImage headPicture(int type, const QColor& colour, bool selected, double size, bool smooth)
{
    const int side = static_cast<int>(std::ceil(size)) + 4;
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, smooth);
    QPainterPath head;
    const double x = side * 0.5;
    const double top = 1.0;
    const double h = size * 0.5;
    switch (typeSlot(type)) {
        case 1: head.addRect(QRectF(x - h, top, size, size)); break;
        case 2: head.addEllipse(QRectF(x - h, top, size, size)); break;
        default: {
            // A flame pointing down to the firing time.
            QPolygonF triangle;
            triangle << QPointF(x - h - 1, top) << QPointF(x + h + 1, top)
                     << QPointF(x, top + size + 1);
            head.addPolygon(triangle);
            head.closeSubpath();
        }
    }
    p.setPen(selected ? QPen(QColor(255, 255, 255), 1.5) : Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
    return picture;
}

}  // namespace

WaveformCues::WaveformCues(Timeline& timeline, Mode mode) : timeline_(timeline), mode_(mode) {}

double WaveformCues::timeAt(double x) const
{
    const TimelineView& view = timeline_.view();
    return mode_ == Mode::kCues ? view.timeAt(x) : x * view.getOverviewRatio();
}

std::intptr_t WaveformCues::handleMessage(GUI::Message& message)
{
    const int x = message.position.x();
    switch (message.code) {
        case GUI::kMessageMouseMove: mouseMoved(message); return 0;
        case GUI::kMessageLButtonDown: leftDown(x); return 0;
        case GUI::kMessageLButtonUp:
            leftUp(x, (message.modifiers & Qt::ShiftModifier) != 0);
            return 0;
        case GUI::kMessageRButtonDown:
            seeking_ = true;
            seekTo(x);
            return 0;
        case GUI::kMessageRButtonUp: seeking_ = false; return 0;
        case GUI::kMessageMButtonDown:
            panning_ = true;
            panX_ = x;
            panStart_ = timeline_.view().getStart();
            return 0;
        case GUI::kMessageMButtonUp:
            if (panning_) {
                panTo(x);
            }
            panning_ = false;
            return 0;
        case GUI::kMessageMouseWheel:
            // The wheel turns where the mouse is, even when no move reported it yet.
            setHoverX(x);
            timeline_.zoomAtHover(message.wheelDelta / 120.0);
            return 0;
        case GUI::kMessageMouseLeave:
            hoverX_ = -1;
            timeline_.hoverChanged(TimelineView::kNoHover);
            return 0;
        default: break;
    }
    return D2DComponent::handleMessage(message);
}

void WaveformCues::mouseMoved(const GUI::Message& message)
{
    const int x = message.position.x();
    setHoverX(x);
    if (dragging_) {
        if ((message.buttons & Qt::LeftButton) == 0) {
            endGestures();
        } else if (mode_ == Mode::kCues) {
            if (bandEnd_ != x) {
                bandEnd_ = x;
                timeline_.invalidate();
            }
        } else {
            leftDown(x);
        }
    }
    if (seeking_) {
        if ((message.buttons & Qt::RightButton) == 0) {
            seeking_ = false;
        } else {
            seekTo(x);
        }
    }
    if (panning_) {
        if ((message.buttons & Qt::MiddleButton) == 0) {
            panning_ = false;
        } else {
            panTo(x);
        }
    }
}

void WaveformCues::setHoverX(int x)
{
    hoverX_ = x;
    timeline_.hoverChanged(timeAt(x));
}

void WaveformCues::viewChanged()
{
    if (hoverX_ >= 0 && mode_ == Mode::kCues) {
        timeline_.hoverChanged(timeAt(hoverX_));
    }
    if (mode_ == Mode::kCues) {
        invalidate();
    }
}

void WaveformCues::leftDown(int x)
{
    dragging_ = true;
    if (mode_ == Mode::kOverview) {
        const TimelineView& view = timeline_.view();
        timeline_.setView(x * view.getOverviewRatio() - view.getWidth() * view.getScale() * 0.5,
                          view.getScale());
        return;
    }
    bandStart_ = bandEnd_ = x;
    timeline_.invalidate();
}

void WaveformCues::leftUp(int x, bool shift)
{
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    if (mode_ == Mode::kOverview) {
        return;
    }
    Project::Project* project = Project::Project::getInstance();
    if (project != nullptr) {
        const Project::CueList& cues = project->getProjectData().getCueList();
        const TimelineView& view = timeline_.view();
        if (bandStart_ == bandEnd_) {
            timeline_.runSelection(
                Project::selectCueAt(cues, shift, timeAt(x), kPickPixels * view.getScale()));
        } else {
            timeline_.runSelection(
                Project::selectCuesInTimeRange(cues, shift, timeAt(bandStart_), timeAt(bandEnd_)));
        }
    }
    bandStart_ = bandEnd_ = 0;
    timeline_.invalidate();
}

void WaveformCues::seekTo(int x)
{
    timeline_.seek(std::max(0.0, timeAt(x)));
}

void WaveformCues::panTo(int x)
{
    const double perPixel =
        mode_ == Mode::kCues ? timeline_.view().getScale() : timeline_.view().getOverviewRatio();
    timeline_.setView(panStart_ - (x - panX_) * perPixel, timeline_.view().getScale());
}

void WaveformCues::endGestures()
{
    dragging_ = false;
    bandStart_ = bandEnd_ = 0;
    timeline_.invalidate();
}

void WaveformCues::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(QPoint(0, 0), target.getSize()), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    drawCues(p, timeline_.cueIndex(), timeline_.view(), mode_, target.getSize().width(),
             target.getSize().height(), timeline_.getFramesPerSecond());
}

void WaveformCues::drawCues(QPainter& painter, const TimelineCueIndex& index,
                            const TimelineView& view, Mode mode, int width, int height,
                            double framesPerSecond)
{
    const bool cueMode = mode == Mode::kCues;
    const double ratio = view.getOverviewRatio();
    if (!cueMode && ratio <= 0) {
        return;
    }
    const double origin = cueMode ? view.getStart() : 0.0;
    const double perPixel = cueMode ? view.getScale() : ratio;
    const auto& entries = index.entries();
    std::size_t first = 0;
    std::size_t last = entries.size();
    if (cueMode) {
        // Bars that start left of the view reach into it; a marker's head is a few pixels
        // wide.
        const double margin = 12 * perPixel;
        std::tie(first, last) =
            index.range(origin - margin - index.getLongestDurationMs(), view.getEnd() + margin);
    }

    // The columns to fill: all of them, or those of the clip.
    double clipLeft = -1e18;
    double clipRight = 1e18;
    if (painter.hasClipping()) {
        const QRectF clip = painter.clipBoundingRect();
        clipLeft = clip.left();
        clipRight = clip.right();
    }
    const auto touchesClip = [clipLeft, clipRight](double left, double right) {
        return right >= clipLeft && left <= clipRight;
    };

    std::array<Style, 3 * kStates * 2> styles;
    // The stems, one pixel wide and all of one height: a row of pixels per lane (unselected,
    // selected), drawn stretched to the stems' height. One picture for all stems costs far
    // less than a line per stem, which the raster engine hands to its thread pool piece by
    // piece.
    std::array<QImage, 2> stemRows;
    for (QImage& row : stemRows) {
        row = QImage(std::max(width, 1), 1, QImage::Format_ARGB32_Premultiplied);
        row.fill(Qt::transparent);
    }
    std::array<int, 3 * kStates * 2> styleType{};
    std::array<long long, 2> lastPixel{-1000000, -1000000};
    const double headTop = cueMode ? 7.0 : 2.0;
    const double headSize = cueMode ? 7.0 : 4.0;
    const double lineTop = cueMode ? headTop : 2.0;
    const double lineBottom = cueMode ? height - 6.0 : height - 2.0;

    // DMX bars: the covered stretch per lane, so a thousand overlapping bars paint once.
    std::array<double, 2> barCovered{-1e18, -1e18};
    std::array<std::vector<QRectF>, 2> bars;
    const double barTop = lineBottom - 9.0;

    struct Label {
        double x;
        int number;
        QColor colour;
    };
    std::vector<Label> labels;
    double labelEnd = -1e18;
    constexpr double kLabelWidth = 34.0;

    for (std::size_t i = first; i < last; ++i) {
        const Project::Cue& cue = *entries[i].cue;
        const double x = (entries[i].ms - origin) / perPixel;
        const int type = cue.getCommand().getType();
        if (cueMode && type == Project::CueCommand::TYPE_DMX512) {
            const double length = TimelineCueIndex::durationMs(cue, framesPerSecond) / perPixel;
            const std::size_t lane = cue.isSelected() ? 1 : 0;
            const double from = std::max(x, barCovered[lane]);
            const double to = std::min(x + length, width + 1.0);
            if (to > from && to > 0) {
                if (touchesClip(from, to)) {
                    bars[lane].push_back(QRectF(from, barTop, to - from, 6.0));
                }
                barCovered[lane] = to;
            }
        }
        if (x < -headSize || x > width + headSize) {
            continue;
        }
        // One marker per pixel is all a crowded view can show; selected cues keep their own
        // so that they always show.
        const auto pixel = static_cast<long long>(std::floor(x));
        const std::size_t lane = cue.isSelected() ? 1 : 0;
        if (pixel == lastPixel[lane]) {
            continue;
        }
        lastPixel[lane] = pixel;
        const bool labelled = cueMode && x > labelEnd;
        if (labelled) {
            labelEnd = x + kLabelWidth;
        }
        if (!touchesClip(x - kMarkerLeft, x + (labelled ? kMarkerRight : kMarkerLeft))) {
            continue;
        }
        Style& style = styles[styleIndex(type, cue.getState(), cue.isSelected())];
        if (!style.used) {
            style.used = true;
            styleType[styleIndex(type, cue.getState(), cue.isSelected())] = type;
            style.colour = markerColour(type, cue.getState());
            style.selected = cue.isSelected();
        }
        const double lineX = pixel + 0.5;
        if (pixel >= 0 && pixel < width) {
            reinterpret_cast<QRgb*>(stemRows[lane].scanLine(0))[pixel] =
                stemColour(style.colour, style.selected);
        }
        style.heads.emplace_back(lineX, headTop);
        if (labelled) {
            labels.push_back({lineX, cue.getNumber(), style.colour});
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 200, 255, 70));
    painter.drawRects(bars[0].data(), static_cast<int>(bars[0].size()));
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawRects(bars[1].data(), static_cast<int>(bars[1].size()));

    for (int pass = 0; pass < 2; ++pass) {
        // Selected cues last, so they stay on top of their neighbours.
        if (width > 0 && lineBottom > lineTop) {
            painter.drawImage(QRectF(0, lineTop, width, lineBottom - lineTop), stemRows[pass],
                              QRectF(0, 0, width, 1));
        }
        for (std::size_t i = 0; i < styles.size(); ++i) {
            Style& style = styles[i];
            if (!style.used || style.selected != (pass == 1)) {
                continue;
            }
            if (style.heads.empty()) {
                continue;
            }
            const QImage head =
                headPicture(styleType[i], style.colour, style.selected, headSize, cueMode);
            const QPointF centre(head.width() * 0.5, 1.0);
            for (const QPointF& at : style.heads) {
                painter.drawImage(at - centre, head);
            }
        }
    }

    if (!cueMode) {
        return;
    }
    if (!labels.empty()) {
        QFont font = painter.font();
        font.setPixelSize(9);
        painter.setFont(font);
        for (const Label& label : labels) {
            QColor colour = label.colour;
            colour.setAlpha(210);
            painter.setPen(colour);
            painter.drawText(QPointF(label.x + 6.0, headTop + headSize + 3.0),
                             QString::number(label.number));
        }
    }

    // Frame ticks once a frame is wide enough to point at.
    if (framesPerSecond > 0) {
        const double frameWidth = 1.0 / (framesPerSecond * 0.001 * view.getScale());
        if (frameWidth > 5.0) {
            const double opacity = frameWidth > 15.0 ? 0.5 : (frameWidth - 5.0) / 20.0;
            std::vector<QLineF> ticks;
            const double msPerFrame = 1000.0 / framesPerSecond;
            auto frame = static_cast<long long>(std::ceil(view.getStart() / msPerFrame));
            for (;; ++frame) {
                const double x = (frame * msPerFrame - view.getStart()) / view.getScale();
                if (x > width) {
                    break;
                }
                const double tickX = std::floor(x) + 0.5;
                if (!touchesClip(tickX - 1, tickX + 1)) {
                    continue;
                }
                ticks.emplace_back(QPointF(tickX, 1.0), QPointF(tickX, 5.0));
                ticks.emplace_back(QPointF(tickX, height - 4.0), QPointF(tickX, height));
            }
            QColor colour = QColor::fromRgbF(0.588f, 0.851f, 1.0f);
            colour.setAlphaF(static_cast<float>(opacity));
            painter.setPen(QPen(colour, 1.0));
            painter.drawLines(ticks.data(), static_cast<int>(ticks.size()));
        }
    }
}

}  // namespace GUIMain
