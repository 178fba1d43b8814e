#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "Audio/WaveformAnalyzer.h"

namespace Audio {
namespace {

constexpr double kRate = 44100;

std::vector<std::int16_t> tone(double hertz, double amplitude)
{
    std::vector<std::int16_t> frames(2 * WaveformAnalyzer::kFrames);
    for (std::size_t n = 0; n < WaveformAnalyzer::kFrames; ++n) {
        const double s = amplitude * std::sin(2 * std::numbers::pi * hertz * n / kRate);
        frames[2 * n] = frames[2 * n + 1] = static_cast<std::int16_t>(std::lround(s));
    }
    return frames;
}

// The loudness from the samples alone: the FFT's power sum equals 512 times the energy of
// the windowed input.
double loudnessOf(const std::vector<std::int16_t>& frames)
{
    double energy = 0;
    for (std::size_t n = 0; n < WaveformAnalyzer::kFrames; ++n) {
        const double x =
            (frames[2 * n] + frames[2 * n + 1]) / 65536.0 * WaveformAnalyzer::window(n);
        energy += x * x;
    }
    return (std::log10(energy + 0.001) + 3) / 5;
}

TEST(WaveformAnalyzer, BandWeightsAreTrianglesBetweenNeighbouringPeaks)
{
    const double peaks[] = {0.0, 1.741496, 4.6439867, 11.609974, 46.43987};
    for (int b = 0; b < 5; ++b) {
        EXPECT_DOUBLE_EQ(WaveformAnalyzer::bandWeight(b, peaks[b]), 1.0) << "band " << b;
        if (b > 0) {
            EXPECT_DOUBLE_EQ(WaveformAnalyzer::bandWeight(b, peaks[b - 1]), 0.0);
            EXPECT_NEAR(WaveformAnalyzer::bandWeight(b, (peaks[b - 1] + peaks[b]) / 2), 0.5, 1e-12);
        }
        if (b < 4) {
            EXPECT_DOUBLE_EQ(WaveformAnalyzer::bandWeight(b, peaks[b + 1]), 0.0);
        }
    }
    // Between the lowest and the highest peak the bands share every bin out completely.
    for (double k = 0; k <= 46; k += 0.5) {
        double sum = 0;
        for (int b = 0; b < 5; ++b) {
            sum += WaveformAnalyzer::bandWeight(b, k);
        }
        EXPECT_NEAR(sum, 1.0, 1e-9) << "bin " << k;
    }
    // The outer sides reach to the ends of the spectrum.
    EXPECT_GT(WaveformAnalyzer::bandWeight(4, 511), 0.9999);
    EXPECT_DOUBLE_EQ(WaveformAnalyzer::bandWeight(3, 100), 0.0);
}

TEST(WaveformAnalyzer, SilenceHasNoLoudnessAndNoBands)
{
    WaveformAnalyzer analyzer;
    const std::vector<std::int16_t> silence(2 * WaveformAnalyzer::kFrames, 0);
    const std::array<float, 5> result = analyzer.analyse(silence.data());
    for (float v : result) {
        EXPECT_EQ(v, 0.0f);
    }
}

TEST(WaveformAnalyzer, TheLastValueIsTheLoudnessOfTheWindowedSamples)
{
    WaveformAnalyzer analyzer;
    for (double amplitude : {32767.0, 3000.0, 100.0}) {
        const std::vector<std::int16_t> frames = tone(1000, amplitude);
        const std::array<float, 5> result = analyzer.analyse(frames.data());
        EXPECT_NEAR(result[4], loudnessOf(frames), 1e-4) << "amplitude " << amplitude;
    }
    // A full-scale tone is close to the top of the scale.
    const std::vector<std::int16_t> loud = tone(1000, 32767);
    EXPECT_NEAR(analyzer.analyse(loud.data())[4], 0.98, 0.02);
}

TEST(WaveformAnalyzer, ATonePutsMostOfItsLoudnessIntoItsBand)
{
    WaveformAnalyzer analyzer;
    const struct {
        double hertz;
        int band;
    } cases[] = {
        {0, 0},  // a constant level: the lowest band
        {400, 2},
        {1000, 3},
        {4000, 4},
    };
    for (const auto& c : cases) {
        std::vector<std::int16_t> frames = tone(c.hertz, 16000);
        if (c.hertz == 0) {
            std::fill(frames.begin(), frames.end(), std::int16_t{16000});
        }
        const std::array<float, 5> result = analyzer.analyse(frames.data());
        int widest = 0;
        float widestShare = result[0];
        for (int b = 1; b < 5; ++b) {
            EXPECT_GE(result[b], result[b - 1]) << c.hertz << " Hz: the shares add up";
            if (result[b] - result[b - 1] > widestShare) {
                widestShare = result[b] - result[b - 1];
                widest = b;
            }
        }
        EXPECT_EQ(widest, c.band) << c.hertz << " Hz";
        EXPECT_GT(widestShare, 0.5f * result[4]) << c.hertz << " Hz";
    }
}

}  // namespace
}  // namespace Audio
