#include "GUIMain/WaveformColumns.h"

#include <cmath>

namespace GUIMain {

void WaveformColumns::setView(double start, double scale, int width)
{
    const std::size_t newWidth = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (start == start_ && scale == scale_ && newWidth == columns_.size()) {
        return;
    }
    spare_.assign(newWidth, WaveformColumn{});
    const bool sameScale = scale == scale_;
    const auto oldWidth = static_cast<std::int64_t>(columns_.size());
    // Each new pixel takes the old column nearest to its time: the same mapping as moving
    // every old column to its new pixel, without holes when zooming in.
    for (std::size_t x = 0; x < newWidth; ++x) {
        const double time = static_cast<double>(x) * scale + start;
        const auto from = static_cast<std::int64_t>(std::floor((time - start_) / scale_ + 0.5));
        if (from < 0 || from >= oldWidth) {
            continue;
        }
        const WaveformColumn& old = columns_[static_cast<std::size_t>(from)];
        if (old.state == WaveformColumn::kMissing) {
            continue;
        }
        spare_[x].bands = old.bands;
        spare_[x].state = sameScale ? old.state : WaveformColumn::kApproximate;
    }
    columns_.swap(spare_);
    start_ = start;
    scale_ = scale;
    requestPending_ = true;
}

void WaveformColumns::forget()
{
    for (WaveformColumn& column : columns_) {
        column = WaveformColumn{};
    }
    requestPending_ = true;
}

std::int64_t WaveformColumns::frameOf(int column, double rate) const
{
    return static_cast<std::int64_t>(std::trunc((column * scale_ + start_) * rate * 0.001 + 0.5));
}

std::vector<Audio::AnalysisPair> WaveformColumns::takeRequests(double rate)
{
    requestPending_ = false;
    std::vector<Audio::AnalysisPair> pairs;
    for (std::size_t x = 0; x < columns_.size(); ++x) {
        if (columns_[x].state != WaveformColumn::kExact) {
            pairs.push_back({frameOf(static_cast<int>(x), rate), static_cast<std::int64_t>(x)});
        }
    }
    if (!pairs.empty()) {
        ++generation_;
    }
    return pairs;
}

bool WaveformColumns::apply(std::int64_t generation, const Audio::AnalysisResult* results,
                            std::size_t count, double rate)
{
    if (generation != generation_) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Audio::AnalysisResult& result = results[i];
        if (result.tag < 0 || static_cast<std::size_t>(result.tag) >= columns_.size()) {
            continue;
        }
        const int column = static_cast<int>(result.tag);
        if (frameOf(column, rate) != result.position) {
            continue;  // the view moved since the batch was asked for
        }
        columns_[static_cast<std::size_t>(column)].bands = result.bands;
        columns_[static_cast<std::size_t>(column)].state = WaveformColumn::kExact;
    }
    return true;
}

}  // namespace GUIMain
