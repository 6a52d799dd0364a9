#include <gtest/gtest.h>

#include "synth/FillSignal.h"
#include "synth/NoiseEngine.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"
#include "synth/Regeneration.h"

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
