#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <kiss_fft.h>
#include <vector>

namespace Audio {

// The colour of one waveform column: how loud 512 frames around it are and how that
// loudness divides into five frequency bands, for the timeline's coloured waveform.
//
// The frames are mixed to mono, shaped with a Blackman window and transformed with a
// 512-point FFT (KISS FFT). Five triangular band weights over the FFT bins peak at 0, 150,
// 400, 1000 and 4000 Hz (at 44.1 kHz; the bins are fixed, so the bands scale with the rate),
// each falling to 0 at the neighbouring peaks; the lowest and the highest extend to the end of
// the spectrum. The result is cumulative: value b is the share of bands 1..b in the loudness,
// so the last value is the loudness itself, 0 for silence and near 1 at full scale.
class WaveformAnalyzer {
public:
    static constexpr std::size_t kFrames = 512;
    static constexpr int kBands = 5;

    WaveformAnalyzer();
    ~WaveformAnalyzer();
    WaveformAnalyzer(const WaveformAnalyzer&) = delete;
    WaveformAnalyzer& operator=(const WaveformAnalyzer&) = delete;

    // `frames` holds kFrames stereo frames (2 x kFrames samples, left then right).
    std::array<float, kBands> analyse(const std::int16_t* frames);

    // The window value at n and the weight of FFT bin k in band b (0 to 4), for tests.
    static double window(std::size_t n);
    static double bandWeight(int band, double bin);

private:
    kiss_fft_cfg fft_;
    std::array<double, kFrames> window_;
    // Per band, the bins of positive weight and their weights.
    struct Band {
        std::size_t first = 0;
        std::vector<double> weights;  // bins first, first + 1, ...
        double weightSum = 0;
    };
    std::array<Band, kBands> bands_;
    std::vector<kiss_fft_cpx> in_;
    std::vector<kiss_fft_cpx> out_;
    std::vector<double> power_;
};

}  // namespace Audio
