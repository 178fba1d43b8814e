#include "Audio/WaveformAnalyzer.h"

#include <cmath>
#include <numbers>

#include "Platform/Assert.h"

namespace Audio {

namespace {

// The band peaks in FFT bins: 0, 150, 400, 1000 and 4000 Hz at 44.1 kHz with 512 points.
constexpr std::array<double, WaveformAnalyzer::kBands> kPeaks = {0.0, 1.741496, 4.6439867,
                                                                 11.609974, 46.43987};
// Where the lowest band's lower side and the highest band's upper side reach 0: far outside
// the spectrum, so those sides are all but flat.
constexpr double kFarEdge = 10000000.0;

}  // namespace

WaveformAnalyzer::WaveformAnalyzer()
    : fft_(kiss_fft_alloc(static_cast<int>(kFrames), 0, nullptr, nullptr)),
      in_(kFrames),
      out_(kFrames),
      power_(kFrames)
{
    SKY_ASSERT_TEXT(fft_ != nullptr, "FFT set up", "WaveformAnalyzer");
    for (std::size_t n = 0; n < kFrames; ++n) {
        window_[n] = window(n);
    }
    for (int b = 0; b < kBands; ++b) {
        Band& band = bands_[b];
        bool started = false;
        for (std::size_t k = 0; k < kFrames; ++k) {
            const double w = bandWeight(b, static_cast<double>(k));
            if (w <= 0) {
                if (started) {
                    break;  // the triangle is over
                }
                continue;
            }
            if (!started) {
                band.first = k;
                started = true;
            }
            band.weights.push_back(w);
            band.weightSum += w;
        }
    }
}

WaveformAnalyzer::~WaveformAnalyzer()
{
    kiss_fft_free(fft_);
}

double WaveformAnalyzer::window(std::size_t n)
{
    const double x = 2.0 * static_cast<double>(n) / 1023.0;
    return 0.42 - 0.5 * std::cos(2.0 * std::numbers::pi * x) +
           0.08 * std::cos(4.0 * std::numbers::pi * x);
}

double WaveformAnalyzer::bandWeight(int band, double bin)
{
    SKY_ASSERT(band >= 0 && band < kBands, "WaveformAnalyzer");
    const double peak = kPeaks[band];
    const double lower = band == 0 ? -kFarEdge : kPeaks[band - 1];
    const double upper = band == kBands - 1 ? kFarEdge : kPeaks[band + 1];
    const double w = bin <= peak ? (bin - lower) / (peak - lower) : (upper - bin) / (upper - peak);
    return w > 0 ? w : 0;
}

std::array<float, WaveformAnalyzer::kBands> WaveformAnalyzer::analyse(const std::int16_t* frames)
{
    for (std::size_t n = 0; n < kFrames; ++n) {
        const double mono = (frames[2 * n] + frames[2 * n + 1]) / 65536.0;
        in_[n].r = static_cast<kiss_fft_scalar>(mono * window_[n]);
        in_[n].i = 0;
    }
    kiss_fft(fft_, in_.data(), out_.data());
    double total = 0;
    for (std::size_t k = 0; k < kFrames; ++k) {
        const double re = out_[k].r;
        const double im = out_[k].i;
        power_[k] = re * re + im * im;
        total += power_[k];
    }
    std::array<double, kBands> values{};
    double sum = 0;
    for (int b = 0; b < kBands; ++b) {
        const Band& band = bands_[b];
        if (band.weightSum <= 0) {
            continue;
        }
        double weighted = 0;
        for (std::size_t i = 0; i < band.weights.size(); ++i) {
            weighted += power_[band.first + i] * band.weights[i];
        }
        values[b] = weighted / band.weightSum;
        sum += values[b];
    }
    const double loudness = (std::log10(total / kFrames + 0.001) + 3.0) / 5.0;
    const double share = sum > 0 ? loudness / sum : 0;
    std::array<float, kBands> result{};
    double cumulative = 0;
    for (int b = 0; b < kBands; ++b) {
        cumulative += values[b];
        result[b] = static_cast<float>(share * cumulative);
    }
    return result;
}

}  // namespace Audio
