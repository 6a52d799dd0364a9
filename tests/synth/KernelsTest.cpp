// The vector loops against the one-value definitions they stand for, on every dispatch target,
// compared as doubles bit for bit: a product fused with a sum, or any other change of operation
// order, shows here even where it would vanish in the rounding to float.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "synth/ComponentKernels.h"
#include "synth/FillKernels.h"
#include "synth/GaussPeak.h"
#include "synth/PolarPoints.h"
#include "synth/TailedPeak.h"
#include "tests/support/DispatchTargets.h"

namespace {

// A random grid, a stretch of up to `most` samples of it, a peak's constants near them, and
// partial sums of every size, zero included, so that terms are both added and skipped.
struct KernelTrial {
    SampleGrid grid;
    std::size_t first, count;
    double time, height, width;
    std::vector<double> start;

    KernelTrial(std::mt19937_64& random, std::size_t most) {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        grid = {10.0 * unit(random) - 5.0, std::pow(10.0, -4.0 + 3.0 * unit(random))};
        first = static_cast<std::size_t>(1e6 * unit(random));
        count = 1 + static_cast<std::size_t>(static_cast<double>(most) * unit(random));
        time = grid.TimeAt(first) + grid.step * count * (1.5 * unit(random) - 0.25);
        height = 200.0 * unit(random) - 100.0;
        width = grid.step * std::pow(10.0, 3.0 * unit(random));
        start.resize(count);
        for (double& sum : start)
            sum = unit(random) < 0.2 ? 0.0 : std::pow(10.0, 60.0 * unit(random) - 50.0);
    }
};

TEST(AddGaussTerms, EveryTargetAddsExactlyTheTermsOfGaussPeak) {
    std::mt19937_64 random(5);
    for (int trial = 0; trial < 300; ++trial) {
        const KernelTrial t(random, 300);
        std::vector<double> expected = t.start;
        for (std::size_t j = 0; j < t.count; ++j)
            expected[j] += GaussPeak(t.grid.TimeAt(t.first + j), t.height, t.width, t.time);

        ForEachDispatchTarget([&](const std::string& target) {
            std::vector<double> sums = t.start;
            AddGaussTerms(sums.data(), t.first, t.count, t.grid, t.height, t.width, t.time);
            ASSERT_EQ(sums, expected) << target << ", trial " << trial;
        });
    }
}

// Screening and deviates against the polar method one point at a time: the uniform numbers as
// NoiseEngine::NextUniform forms them, the acceptance test, and PolarTransform.
TEST(PolarPoints, EveryTargetScreensAndTransformsAsOnePointAtATime) {
    constexpr std::size_t attempts = 2'001;
    std::mt19937 random(3);
    std::vector<std::uint32_t> words(4 * attempts);
    for (std::uint32_t& word : words) word = static_cast<std::uint32_t>(random());
    auto coordinate = [](std::uint64_t a, std::uint64_t b) {
        return 2.0 * (static_cast<double>((b << 21) + (a >> 11)) * 0x1p-53) - 1.0;
    };
    std::vector<double> r1, r2, s, z;
    for (std::size_t k = 0; k < attempts; ++k) {
        const double x1 = coordinate(words[4 * k], words[4 * k + 1]);
        const double x2 = coordinate(words[4 * k + 2], words[4 * k + 3]);
        const double sum = x1 * x1 + x2 * x2;
        if (!(sum < 1.0 && x1 != 0.0 && x2 != 0.0)) continue;
        r1.push_back(x1);
        r2.push_back(x2);
        s.push_back(sum);
        const auto [z1, z2] = PolarTransform(x1, x2);
        z.push_back(z1);
        z.push_back(z2);
    }

    ForEachDispatchTarget([&](const std::string& target) {
        SCOPED_TRACE(target);
        std::vector<double> got_r1(attempts + kPolarPadding), got_r2(attempts + kPolarPadding),
            got_s(attempts + kPolarPadding);
        const std::size_t kept =
            ScreenPolarPoints(words.data(), attempts, got_r1.data(), got_r2.data(), got_s.data());
        ASSERT_EQ(kept, r1.size());
        EXPECT_EQ(CountPolarPoints(words.data(), attempts), kept);
        got_r1.resize(kept);
        got_r2.resize(kept);
        got_s.resize(kept);
        EXPECT_EQ(got_r1, r1);
        EXPECT_EQ(got_r2, r2);
        EXPECT_EQ(got_s, s);

        std::vector<double> got_z(2 * kept);
        PolarDeviates(r1.data(), r2.data(), s.data(), got_z.data(), kept);
        for (std::size_t k = 0; k < kept; ++k) {
            if (s[k] <= 1e-4) continue;  // PolarTransform's other route, replaced by the caller
            ASSERT_EQ(got_z[2 * k], z[2 * k]) << k;
            ASSERT_EQ(got_z[2 * k + 1], z[2 * k + 1]) << k;
        }
    });
}

// The other kernels against their one-lane definitions, on random grids and constants: tailing
// and fronting peaks (their negligible terms skipped as the Gaussian's), the baseline's steps,
// sine, settling term and drift, and the addition to the samples.
TEST(Kernels, EveryTargetAddsExactlyTheOneLaneTerms) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct Kernel {
        const char* name;
        std::function<void(double*, std::size_t, std::size_t, const SampleGrid&)> add;
        std::function<double(std::size_t)> at;  // the term at sample i of the trial's grid
    };
    for (int trial = 0; trial < 60; ++trial) {
        const KernelTrial k(random, 600);
        const TailShape shape =
            SolveTailShape(trial % 2 ? 0.6 + 0.4 * unit(random) : 1.2 + 2.8 * unit(random));
        const double rate = 4.4 / k.width;
        const double frequency = 0.1 / k.width;
        const Kernel kernels[] = {
            {"tailed",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddTailedTerms(s, f, n, g, k.height, k.width, shape, k.time);
             },
             [&](std::size_t i) {
                 return TailedSample(k.grid, i, k.height, k.width, shape, k.time);
             }},
            {"step",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddRisingStepTerms(s, f, n, g, k.time, k.height, rate);
             },
             [&](std::size_t i) {
                 const double t = k.grid.TimeAt(i);
                 return RisingStepAt(t, k.time, k.height, rate);
             }},
            {"sine",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddSineTerms(s, f, n, g, k.height, frequency, 0.3);
             },
             [&](std::size_t i) {
                 const double t = k.grid.TimeAt(i);
                 return SineAt(t, k.height, frequency, 0.3);
             }},
            {"settle",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddSettleTerms(s, f, n, g, k.height, k.width);
             },
             [&](std::size_t i) {
                 const double t = k.grid.TimeAt(i);
                 return SettleAt(t, k.height, k.width);
             }},
            {"drift",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddDriftTerms(s, f, n, g, k.height);
             },
             [&](std::size_t i) {
                 const double t = k.grid.TimeAt(i);
                 return t * k.height;
             }},
        };
        for (const Kernel& kernel : kernels) {
            std::vector<double> expected = k.start;
            for (std::size_t j = 0; j < k.count; ++j) expected[j] += kernel.at(k.first + j);
            ForEachDispatchTarget([&](const std::string& target) {
                std::vector<double> sums = k.start;
                kernel.add(sums.data(), k.first, k.count, k.grid);
                ASSERT_EQ(sums, expected) << kernel.name << ", " << target << ", trial " << trial;
            });
        }
        std::vector<float> samples(k.count);
        for (float& v : samples) v = static_cast<float>(k.height * unit(random));
        std::vector<float> expected = samples;
        for (std::size_t j = 0; j < k.count; ++j)
            expected[j] = static_cast<float>((k.start[j] + k.height) + expected[j]);
        const std::vector<double> other(k.count, k.height);
        ForEachDispatchTarget([&](const std::string& target) {
            std::vector<float> got = samples;
            AddToSamples(got.data(), k.start.data(), other.data(), k.count);
            ASSERT_EQ(got, expected) << target;
        });
    }
}

}  // namespace
