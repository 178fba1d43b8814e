#include <gtest/gtest.h>

#include "GUIMain/WaveformColumns.h"

namespace GUIMain {
namespace {

constexpr double kRate = 1000.0;  // one frame per millisecond keeps the frames readable

// Columns of a 10-pixel view at 10 ms per pixel from 0, every one answered with its pixel
// number as loudness.
WaveformColumns answered()
{
    WaveformColumns columns;
    columns.setView(0, 10, 10);
    std::vector<Audio::AnalysisPair> pairs = columns.takeRequests(kRate);
    std::vector<Audio::AnalysisResult> results;
    for (const Audio::AnalysisPair& pair : pairs) {
        Audio::AnalysisResult result;
        result.position = pair.position;
        result.tag = pair.tag;
        result.bands[4] = static_cast<float>(pair.tag);
        results.push_back(result);
    }
    EXPECT_TRUE(columns.apply(columns.getGeneration(), results.data(), results.size(), kRate));
    return columns;
}

TEST(WaveformColumns, AskForEveryColumnThatIsNotExactAtItsFrame)
{
    WaveformColumns columns;
    columns.setView(100, 2.5, 4);
    const std::int64_t before = columns.getGeneration();
    const std::vector<Audio::AnalysisPair> pairs = columns.takeRequests(44100);
    ASSERT_EQ(pairs.size(), 4u);
    // trunc((x * scale + start) * rate / 1000 + 0.5)
    EXPECT_EQ(pairs[0].position, 4410);
    EXPECT_EQ(pairs[1].position, 4520);  // 102.5 ms: 4520.25
    EXPECT_EQ(pairs[3].tag, 3);
    EXPECT_EQ(columns.getGeneration(), before + 1);
    EXPECT_FALSE(columns.needsRequest());

    WaveformColumns done = answered();
    EXPECT_TRUE(done.takeRequests(kRate).empty());
}

TEST(WaveformColumns, ScrollingKeepsColumnsExactAndLeavesTheNewOnesMissing)
{
    WaveformColumns columns = answered();
    columns.setView(30, 10, 10);  // three pixels to the right
    const auto& c = columns.columns();
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(c[x].state, WaveformColumn::kExact) << x;
        EXPECT_EQ(c[x].bands[4], static_cast<float>(x + 3)) << x;
    }
    for (int x = 7; x < 10; ++x) {
        EXPECT_EQ(c[x].state, WaveformColumn::kMissing) << x;
    }
    EXPECT_TRUE(columns.needsRequest());
    EXPECT_EQ(columns.takeRequests(kRate).size(), 3u);
}

TEST(WaveformColumns, ZoomingCarriesColumnsOverAsApproximate)
{
    WaveformColumns columns = answered();
    columns.setView(0, 20, 10);  // zoomed out: the old 100 ms fill the first five pixels
    const auto& c = columns.columns();
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(c[x].state, WaveformColumn::kApproximate) << x;
        EXPECT_EQ(c[x].bands[4], static_cast<float>(2 * x)) << x;
    }
    for (int x = 5; x < 10; ++x) {
        EXPECT_EQ(c[x].state, WaveformColumn::kMissing) << x;
    }
    EXPECT_EQ(columns.takeRequests(kRate).size(), 10u);
}

TEST(WaveformColumns, AnAnswerOfAnOlderBatchIsIgnored)
{
    WaveformColumns columns;
    columns.setView(0, 10, 4);
    const std::vector<Audio::AnalysisPair> first = columns.takeRequests(kRate);
    const std::int64_t oldGeneration = columns.getGeneration();
    columns.setView(0, 5, 4);
    columns.takeRequests(kRate);
    Audio::AnalysisResult late;
    late.position = first[0].position;
    late.tag = first[0].tag;
    late.bands[4] = 0.7f;
    EXPECT_FALSE(columns.apply(oldGeneration, &late, 1, kRate));
    EXPECT_EQ(columns.columns()[0].state, WaveformColumn::kMissing);

    // Within the current batch an answer for a frame the column no longer shows is
    // skipped too (the view moved before the next batch was asked for).
    Audio::AnalysisResult moved;
    moved.position = columns.frameOf(2, kRate);
    moved.tag = 2;
    columns.setView(7, 5, 4);
    EXPECT_TRUE(columns.apply(columns.getGeneration(), &moved, 1, kRate));
    EXPECT_EQ(columns.columns()[2].state, WaveformColumn::kMissing);
}

TEST(WaveformColumns, ANewTrackForgetsEveryColumn)
{
    WaveformColumns columns = answered();
    columns.forget();
    for (const WaveformColumn& column : columns.columns()) {
        EXPECT_EQ(column.state, WaveformColumn::kMissing);
    }
    EXPECT_EQ(columns.takeRequests(kRate).size(), 10u);
}

}  // namespace
}  // namespace GUIMain
