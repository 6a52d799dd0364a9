#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "synth/Peak4.h"
#include "synth/SampleCount.h"
#include "synth/Signal4.h"
#include "synth/SignalComponents.h"
#include "synth/TailedPeak.h"

// Peaks placed over an analysis from raw MT19937 words seeded with 7, each word w giving the
// fraction w / 2^32 of its range, in the order time, height (1 to 100), width: simple enough for
// the NumPy peer of the benchmarks (bench/peer/long_run.py) to draw the same peaks.
inline std::vector<GenPeak4> PlacePeaks(double minutes, int count, double min_width,
                                        double max_width) {
    std::mt19937 placement(7);
    auto fraction = [&placement] { return static_cast<double>(placement()) * 0x1p-32; };
    std::vector<GenPeak4> peaks;
    for (int i = 0; i < count; ++i) {
        const double time = minutes * fraction();
        const double height = 1.0 + 99.0 * fraction();
        const double width = min_width + (max_width - min_width) * fraction();
        GenPeak4 peak = MakeNewPeak(time, height);
        peak.width = width;
        peaks.push_back(peak);
    }
    return peaks;
}

// A zero signal of `minutes` at `rate` samples per minute, starting at 0.
inline Signal4 ZeroSignal(double minutes, double rate) {
    Signal4 signal(1.0 / rate, 0.0, nullptr, 0);
    ResizeChecked(signal, ComputeSampleCount(minutes, rate).count);
    return signal;
}

// The long run: 60 minutes at 6,000 samples per minute (360,000 samples), 200 peaks of widths
// 0.02 to 0.2 minutes; it is regenerated with noise 0.1 and drift 0.5.
inline constexpr double kLongRunMinutes = 60.0;
inline constexpr double kLongRunRate = 6000.0;
inline constexpr double kLongRunNoise = 0.1;
inline constexpr double kLongRunDrift = 0.5;
inline std::vector<GenPeak4> LongRunPeaks() {
    return PlacePeaks(kLongRunMinutes, 200, 0.02, 0.2);
}
inline Signal4 LongRunSignal() {
    return ZeroSignal(kLongRunMinutes, kLongRunRate);
}

// The long run's peaks, every one tailing with factor 1.5.
inline std::vector<GenPeak4> LongRunTailingPeaks() {
    std::vector<GenPeak4> peaks = LongRunPeaks();
    const TailShape shape = SolveTailShape(1.5);
    for (GenPeak4& peak : peaks) peak.tail = shape;
    return peaks;
}

// What a real detector adds to the long run: pink noise as strong as its white noise, a wander,
// two steps (a gradient change up at 20 minutes, a smaller one down at 41), a pump's pulsation
// and a spike every other minute.
inline ChannelComponents LongRunComponents() {
    ChannelComponents c;
    c.steps = {{20.0, 2.0, 1.0}, {41.0, -0.5, 0.3}};
    c.sine = BaselineSine{0.05, 0.5, 1.0};
    c.wander = 0.2;
    c.pink = 0.1;
    c.spikes = SpikeTrain{0.5, 1.0, 5.0};
    return c;
}
