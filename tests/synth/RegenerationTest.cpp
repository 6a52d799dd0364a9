#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "synth/Drift.h"
#include "synth/FillSignal.h"
#include "synth/NoiseEngine.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"
#include "synth/Regeneration.h"
#include "synth/TailedPeak.h"
#include "tests/support/DispatchTargets.h"
#include "tests/support/FloatUlps.h"
#include "tests/support/PlacedPeaks.h"
#include "tests/support/ReferenceFill.h"
#include "tests/support/ReferenceNoise.h"

namespace {

Signal4 Channel() {
    Signal4 s(0.01, 0.0, nullptr, 0);
    s.Resize(1000);
    return s;
}

std::vector<GenPeak4> TwoPeaks() {
    GenPeak4 a = MakeNewPeak(3.0, 10.0);
    GenPeak4 b = MakeNewPeak(6.0, 5.0);
    b.width = 0.2;
    b.auto_bounds = false;  // bounds set by the user
    b.front = 5.5;
    b.back = 6.4;
    return {a, b};
}

TEST(RegenerateSignal, BoundsComeFromTheCleanSignalAndAreasFromTheFinalOne) {
    NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
    Signal4 clean = Channel();
    std::vector<GenPeak4> clean_peaks = TwoPeaks();
    RegenerateSignal(clean, clean_peaks, 0.0, 0.0);

    Signal4 noisy = Channel();
    std::vector<GenPeak4> peaks = TwoPeaks();
    RegenerateSignal(noisy, peaks, 0.5, 0.3);

    // Automatic bounds are those of the noiseless signal; manual ones are untouched.
    EXPECT_EQ(peaks[0].front, clean_peaks[0].front);
    EXPECT_EQ(peaks[0].back, clean_peaks[0].back);
    EXPECT_EQ(peaks[1].front, 5.5);
    EXPECT_EQ(peaks[1].back, 6.4);
    EXPECT_FALSE(peaks[1].auto_bounds);

    // Areas are measured on the signal as it finally stands, noise and drift included.
    EXPECT_NE(noisy.samples, clean.samples);
    EXPECT_EQ(noisy.Size(), 1000u);
    for (GenPeak4 p : peaks) {
        const double stored = p.area;
        EXPECT_EQ(ComputePeakArea(noisy, p), stored);
    }
    EXPECT_NE(peaks[0].area, clean_peaks[0].area);
    // The baseline ends sit on single noisy samples: a few noise amplitudes over the interval.
    EXPECT_NEAR(peaks[0].area, clean_peaks[0].area, 3 * 0.5 * (peaks[0].back - peaks[0].front));
}

TEST(RegenerateSignal, RepeatedRunsDrawFreshNoise) {
    NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
    Signal4 s = Channel();
    std::vector<GenPeak4> peaks = TwoPeaks();
    RegenerateSignal(s, peaks, 1.0, 0.0);
    const std::vector<float> first = s.samples;
    RegenerateSignal(s, peaks, 1.0, 0.0);
    EXPECT_NE(s.samples, first);

    // The same steps from the same seed give the same signal.
    NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
    Signal4 again = Channel();
    std::vector<GenPeak4> peaks_again = TwoPeaks();
    RegenerateSignal(again, peaks_again, 1.0, 0.0);
    EXPECT_EQ(again.samples, first);
}

// The whole long run, noise and drift included, has the same bytes on every dispatch target.
TEST(RegenerateSignal, LongRunHasTheSameBytesOnEveryTarget) {
    std::vector<float> first;
    ForEachDispatchTarget([&](const std::string& target) {
        SCOPED_TRACE(target);
        NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
        Signal4 s = LongRunSignal();
        std::vector<GenPeak4> peaks = LongRunPeaks();
        RegenerateSignal(s, peaks, kLongRunNoise, kLongRunDrift);
        if (first.empty()) first = s.samples;
        EXPECT_EQ(s.samples, first);
    });
}

// The pipeline against the same steps with the standard library's exp and log and std::mt19937,
// on the dialog's default channel, the two-peak channel above and the long run: every float
// sample within one unit in the last place and at least 99.9 % identical, bounds identical, areas
// within 1e-6, and the generators in step afterwards.
TEST(RegenerateSignal, AgreesWithTheStandardExpAndLog) {
    struct Case {
        Signal4 signal;
        std::vector<GenPeak4> peaks;
        double noise, drift;
    };
    std::vector<Case> cases;
    cases.push_back({ZeroSignal(10.0, 100.0), PlacePeaks(10.0, 5, 0.1, 0.1), 0.0, 0.0});
    cases.push_back({Channel(), TwoPeaks(), 0.5, 0.3});
    cases.push_back({LongRunSignal(), LongRunPeaks(), kLongRunNoise, kLongRunDrift});
    for (Case& c : cases) {
        NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
        Signal4 fast = c.signal;
        std::vector<GenPeak4> fast_peaks = c.peaks;
        RegenerateSignal(fast, fast_peaks, c.noise, c.drift);

        ReferenceNoise noise(NoiseEngine::kDefaultSeed);
        Signal4 reference = c.signal;
        std::vector<GenPeak4> reference_peaks = c.peaks;
        FillSignalWithStandardExp(reference, reference.Size(), reference_peaks);
        for (GenPeak4& peak : reference_peaks)
            if (peak.auto_bounds) FindPeakBounds(reference, peak);
        noise.AddNoise(reference, c.noise);
        AddDrift(reference, c.drift);
        for (GenPeak4& peak : reference_peaks) ComputePeakArea(reference, peak);
        EXPECT_EQ(NoiseEngine::Instance().NextWord(), noise.NextWord());

        std::size_t identical = 0;
        for (std::size_t i = 0; i < fast.Size(); ++i) {
            ASSERT_LE(UlpDistance(fast.samples[i], reference.samples[i]), 1) << "sample " << i;
            identical += fast.samples[i] == reference.samples[i];
        }
        std::cout << "identical samples: " << identical << " of " << fast.Size() << "\n";
        EXPECT_GE(static_cast<double>(identical), 0.999 * static_cast<double>(fast.Size()));
        for (std::size_t p = 0; p < fast_peaks.size(); ++p) {
            SCOPED_TRACE(p);
            EXPECT_EQ(fast_peaks[p].front, reference_peaks[p].front);
            EXPECT_EQ(fast_peaks[p].back, reference_peaks[p].back);
            EXPECT_NEAR(fast_peaks[p].area, reference_peaks[p].area,
                        1e-6 * std::fabs(reference_peaks[p].area));
        }
    }
}

// A trial regeneration gives the peak it measures exactly what a full regeneration from the same
// generator state gives it, computing only what that measurement reads: every sample of the
// trial signal starts as NaN, so a sample read but not computed would show. Automatic and manual
// bounds, bounds reaching outside the signal, a stored baseline (left and right not negative), a
// peak after the end, a wide peak that reads every sample, a negative and a tailing peak, among
// neighbours, with noise and drift.
TEST(RegenerateMeasurements, MeasuresWhatTheFullRegenerationMeasures) {
    std::vector<GenPeak4> peaks = PlacePeaks(10.0, 12, 0.02, 0.5);
    peaks[1].auto_bounds = false;
    peaks[1].front = -3.0;
    peaks[1].back = 4.0;
    peaks[2].auto_bounds = false;
    peaks[2].front = 9.5;
    peaks[2].back = 30.0;
    peaks[3].left = 0;
    peaks[3].right = 5;
    peaks[4].time = 12.0;
    peaks[5].height = -peaks[5].height;
    peaks[6].tail = SolveTailShape(2.5);
    GenPeak4 wide = MakeNewPeak(4.0, 10.0);
    wide.width = 3.0;
    peaks.push_back(wide);

    NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
    const Mt19937 start = NoiseEngine::Instance().State();
    Signal4 full = ZeroSignal(10.0, 600.0);
    std::vector<GenPeak4> full_peaks = peaks;
    RegenerateSignal(full, full_peaks, 0.2, -0.4);

    Signal4 trial = ZeroSignal(10.0, 600.0);
    for (std::size_t p = 0; p < peaks.size(); ++p) {
        SCOPED_TRACE(p);
        std::fill(trial.samples.begin(), trial.samples.end(),
                  std::numeric_limits<float>::quiet_NaN());
        NoiseEngine::Instance().Restore(start);
        std::vector<GenPeak4> trial_peaks = peaks;
        RegenerateMeasurements(trial, trial_peaks, p, 0.2, -0.4);
        const std::initializer_list<double GenPeak4::*> measured = {&GenPeak4::front,
                                                                    &GenPeak4::back,
                                                                    &GenPeak4::area,
                                                                    &GenPeak4::front_base_height,
                                                                    &GenPeak4::back_base_height,
                                                                    &GenPeak4::window_front_height,
                                                                    &GenPeak4::window_back_height};
        for (double GenPeak4::*field : measured)
            EXPECT_EQ(trial_peaks[p].*field, full_peaks[p].*field);
        EXPECT_EQ(trial_peaks[p].auto_bounds, full_peaks[p].auto_bounds);
        // The other peaks are not measured.
        EXPECT_EQ(trial_peaks[(p + 1) % peaks.size()].area, peaks[(p + 1) % peaks.size()].area);
    }
}

}  // namespace

#include "synth/StoredPeaks.h"

namespace {

TEST(CollectStoredPeaks, LeavesOutPeaksReachingTheEndOfTheAnalysis) {
    const Signal4 s = Channel();  // end time 9.99
    GenPeak4 inside = MakeNewPeak(5.0, 1.0);
    inside.front = 4.0;
    inside.back = 6.0;
    inside.width = 0.3;
    GenPeak4 at_end = inside;
    at_end.back = 9.99;
    GenPeak4 beyond = inside;
    beyond.front = 10.5;
    beyond.back = 11.0;
    const std::vector<Peak4> stored = CollectStoredPeaks(s, {inside, at_end, beyond, inside});
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].back, 6.0);
    EXPECT_TRUE(CollectStoredPeaks(s, {}).empty());
}

}  // namespace
