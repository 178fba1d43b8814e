#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Audio/AudioMessages.h"

namespace GUIMain {

// One pixel column of the waveform: the audio player's analysis of the soundtrack at the
// column's time (five cumulative band shares, the last the loudness) and how far it can be
// trusted.
struct WaveformColumn {
    enum State : std::uint8_t {
        kMissing = 0,
        kApproximate = 1,  // carried over from another scale: near the right time
        kExact = 2,
    };
    std::array<float, 5> bands{};
    State state = kMissing;
};

// The waveform's columns for one view (start, scale, width) and the bookkeeping of asking
// the monitor worker for the ones that are not exact. When the view changes the columns are
// carried over to the pixels of their times, so zooming and panning show the old picture at
// once; the columns then ask again in one batch, tagged with a generation number that grows
// by one per batch, and answers of an older batch (or for a time the column no longer
// shows) are dropped.
class WaveformColumns {
public:
    const std::vector<WaveformColumn>& columns() const { return columns_; }
    double getStart() const { return start_; }
    double getScale() const { return scale_; }
    std::int64_t getGeneration() const { return generation_; }
    // A view change or a forgotten track left columns to ask for since the last batch.
    bool needsRequest() const { return requestPending_; }

    // Moves to a new view, carrying every column with data to the pixel of its time: exact
    // when the scale is unchanged, approximate otherwise; pixels no column reaches are
    // missing.
    void setView(double start, double scale, int width);
    // The track or its timing changed: every column is missing.
    void forget();

    // The sample frame (timeline frames at `rate`) a column shows.
    std::int64_t frameOf(int column, double rate) const;
    // The next batch: a pair (frame, column) for every column that is not exact, under a new
    // generation number. Empty (and no new generation) when every column is exact.
    std::vector<Audio::AnalysisPair> takeRequests(double rate);
    // Stores the answers of generation `generation`; false (nothing stored) for an older one.
    // An answer whose frame the column no longer shows at `rate` is skipped.
    bool apply(std::int64_t generation, const Audio::AnalysisResult* results, std::size_t count,
               double rate);

private:
    std::vector<WaveformColumn> columns_;
    std::vector<WaveformColumn> spare_;
    double start_ = 0;
    double scale_ = 1;
    std::int64_t generation_ = 0;
    bool requestPending_ = true;
};

}  // namespace GUIMain
