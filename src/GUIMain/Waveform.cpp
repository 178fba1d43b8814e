#include "GUIMain/Waveform.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <algorithm>

#include "GUI/RenderTarget.h"

namespace GUIMain {

namespace {

// Bass to highs: warm to cold, so a kick reads red and cymbals read blue.
constexpr std::array<QRgb, 5> kBandColours = {qRgb(232, 72, 56), qRgb(244, 160, 52),
                                              qRgb(232, 220, 90), qRgb(96, 212, 128),
                                              qRgb(80, 170, 255)};

// A brush per band: brighter at the middle line, darker toward the edges, so the loud
// parts stand out against the quiet ones.
QBrush bandBrush(int band, int height)
{
    const QColor colour = QColor::fromRgb(kBandColours[static_cast<std::size_t>(band)]);
    QLinearGradient gradient(0, 0, 0, std::max(1, height));
    gradient.setColorAt(0.0, colour.darker(190));
    gradient.setColorAt(0.5, colour.lighter(125));
    gradient.setColorAt(1.0, colour.darker(190));
    return QBrush(gradient);
}

// The height of a band's outline, 0 to 1. The loudness is logarithmic and sits high for
// most music; squaring it spreads the loud and the quiet parts apart, and each band keeps its
// share of the loudness.
double shown(const WaveformColumn& column, int band)
{
    const double loudness = std::clamp(static_cast<double>(column.bands[4]), 0.0, 1.0);
    if (loudness <= 0) {
        return 0;
    }
    const double share = std::clamp(static_cast<double>(column.bands[band]) / loudness, 0.0, 1.0);
    return loudness * loudness * share;
}

}  // namespace

Waveform::~Waveform() = default;

void Waveform::onCreate()
{
    answers_ = std::make_unique<Platform::MessageWindow>(
        [this](const Platform::Message& message) -> std::int64_t { return handleAnswer(message); });
    player_ = Audio::AudioPlayer::getInstance();
    if (player_ != nullptr) {
        player_->addListener(this);
    }
    scheduleRequests();
}

void Waveform::onDestroy()
{
    killTimer(kRequestTimer);
    requestTimerRunning_ = false;
    if (player_ != nullptr) {
        player_->removeListener(this);
        player_ = nullptr;
    }
    answers_.reset();
}

Platform::WindowHandle Waveform::getRequesterWindow() const
{
    return answers_ ? answers_->handle() : Platform::WindowHandle{};
}

std::intptr_t Waveform::handleMessage(GUI::Message& message)
{
    if (message.code == GUI::kMessageTimer && message.wParam == kRequestTimer) {
        requestColumns();
        // Nothing left to ask for (or no track to ask): the timer rests until the view or
        // the track changes, so an idle window does not wake five times a second.
        if (!columns_.needsRequest() || player_ == nullptr ||
            player_->getState() == Audio::AudioPlayer::STATE_NO_TRACK) {
            killTimer(kRequestTimer);
            requestTimerRunning_ = false;
        }
        return 0;
    }
    return D2DComponent::handleMessage(message);
}

double Waveform::sampleRate() const
{
    if (player_ == nullptr) {
        return 44100.0;
    }
    return static_cast<double>(player_->getRate()) * std::max(1, player_->getSpeed());
}

void Waveform::setView(double start, double scale, int width)
{
    columns_.setView(start, scale, width);
    scheduleRequests();
    invalidate();
}

void Waveform::scheduleRequests()
{
    if (!requestTimerRunning_ && getHandle() != nullptr) {
        setTimer(kRequestTimer, kRequestPeriodMs);
        requestTimerRunning_ = true;
    }
}

void Waveform::requestColumns()
{
    if (player_ == nullptr || !answers_ || !columns_.needsRequest() ||
        player_->getState() == Audio::AudioPlayer::STATE_NO_TRACK) {
        return;
    }
    std::vector<Audio::AnalysisPair> pairs = columns_.takeRequests(sampleRate());
    if (!pairs.empty()) {
        player_->requestAnalysis(answers_->handle(), columns_.getGeneration(), std::move(pairs));
    }
}

std::int64_t Waveform::handleAnswer(const Platform::Message& message)
{
    if (message.code != Audio::kMessageAnalysisResults || message.lParam == 0) {
        return 0;
    }
    const Audio::AnalysisBatch& batch = Audio::AnalysisBatch::of(message);
    if (columns_.apply(static_cast<std::int64_t>(message.wParam), batch.results, batch.count,
                       sampleRate())) {
        invalidate();
    }
    return 0;
}

void Waveform::onTrackChanged()
{
    columns_.forget();
    scheduleRequests();
    invalidate();
}

void Waveform::onTimingChanged()
{
    columns_.forget();
    scheduleRequests();
    invalidate();
}

void Waveform::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(QPoint(0, 0), target.getSize()), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    drawColumns(p, columns_.columns(), target.getSize().height());
}

void Waveform::drawColumns(QPainter& painter, const std::vector<WaveformColumn>& columns,
                           int height)
{
    const double middle = height * 0.5;
    const double reach = std::max(0.0, middle - 2.0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    // The loudness outline first (the last band share is the loudness), then each lower
    // band's share over it, so each colour shows how much of the loudness is its band.
    QPolygonF outline;
    for (int band = 4; band >= 0; --band) {
        painter.setBrush(bandBrush(band, height));
        std::size_t x = 0;
        while (x < columns.size()) {
            while (x < columns.size() && columns[x].state == WaveformColumn::kMissing) {
                ++x;
            }
            const std::size_t first = x;
            while (x < columns.size() && columns[x].state != WaveformColumn::kMissing) {
                ++x;
            }
            if (x == first) {
                break;
            }
            outline.clear();
            for (std::size_t i = first; i < x; ++i) {
                const double v = shown(columns[i], band);
                outline.append(QPointF(static_cast<double>(i), middle - v * reach));
                outline.append(QPointF(static_cast<double>(i) + 1.0, middle - v * reach));
            }
            for (std::size_t i = x; i-- > first;) {
                const double v = shown(columns[i], band);
                outline.append(QPointF(static_cast<double>(i) + 1.0, middle + v * reach + 1.0));
                outline.append(QPointF(static_cast<double>(i), middle + v * reach + 1.0));
            }
            painter.drawPolygon(outline);
        }
    }
    // The middle line, so silence still shows where the track is.
    bool any = false;
    for (const WaveformColumn& column : columns) {
        if (column.state != WaveformColumn::kMissing) {
            any = true;
            break;
        }
    }
    if (any) {
        painter.setPen(QPen(QColor(150, 217, 255, 90), 1.0));
        painter.drawLine(QPointF(0, middle + 0.5), QPointF(columns.size(), middle + 0.5));
    }
}

}  // namespace GUIMain
