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

TEST(AddGaussTerms, EveryTargetAddsExactlyTheTermsOfGaussPeak) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 300; ++trial) {
        const SampleGrid grid{10.0 * unit(random) - 5.0, std::pow(10.0, -4.0 + 3.0 * unit(random))};
        const std::size_t first = static_cast<std::size_t>(1e6 * unit(random));
        const std::size_t count = 1 + static_cast<std::size_t>(300 * unit(random));
        const double time = grid.TimeAt(first) + grid.step * count * (1.5 * unit(random) - 0.25);
        const double height = 200.0 * unit(random) - 100.0;
        const double width = grid.step * std::pow(10.0, 3.0 * unit(random));
        // Partial sums of every size, zero included, so that terms are both added and skipped.
        std::vector<double> start(count);
        for (double& sum : start)
            sum = unit(random) < 0.2 ? 0.0 : std::pow(10.0, 60.0 * unit(random) - 50.0);
        std::vector<double> expected = start;
        for (std::size_t j = 0; j < count; ++j)
            expected[j] += GaussPeak(grid.TimeAt(first + j), height, width, time);

        ForEachDispatchTarget([&](const std::string& target) {
            std::vector<double> sums = start;
            AddGaussTerms(sums.data(), first, count, grid, height, width, time);
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
        std::function<double(double)> at;
    };
    for (int trial = 0; trial < 60; ++trial) {
        const SampleGrid grid{10.0 * unit(random) - 5.0, std::pow(10.0, -4.0 + 3.0 * unit(random))};
        const std::size_t first = static_cast<std::size_t>(1e6 * unit(random));
        const std::size_t count = 1 + static_cast<std::size_t>(600 * unit(random));
        const double time = grid.TimeAt(first) + grid.step * count * (1.5 * unit(random) - 0.25);
        const double height = 200.0 * unit(random) - 100.0;
        const double width = grid.step * std::pow(10.0, 3.0 * unit(random));
        const TailShape shape =
            SolveTailShape(trial % 2 ? 0.6 + 0.4 * unit(random) : 1.2 + 2.8 * unit(random));
        const double rate = 4.4 / width;
        const double period = width * 10.0;
        const Kernel kernels[] = {
            {"tailed",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddTailedTerms(s, f, n, g, height, width, shape, time);
             },
             [&](double t) { return TailedPeak(t, height, width, shape, time); }},
            {"step",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddRisingStepTerms(s, f, n, g, time, height, rate);
             },
             [&](double t) { return RisingStepAt(t, time, height, rate); }},
            {"sine",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddSineTerms(s, f, n, g, height, period, 0.3);
             },
             [&](double t) { return SineAt(t, height, period, 0.3); }},
            {"settle",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddSettleTerms(s, f, n, g, height, width);
             },
             [&](double t) { return SettleAt(t, height, width); }},
            {"drift",
             [&](double* s, std::size_t f, std::size_t n, const SampleGrid& g) {
                 AddDriftTerms(s, f, n, g, height);
             },
             [&](double t) { return t * height; }},
        };
        std::vector<double> start(count);
        for (double& sum : start)
            sum = unit(random) < 0.2 ? 0.0 : std::pow(10.0, 60.0 * unit(random) - 50.0);
        for (const Kernel& kernel : kernels) {
            std::vector<double> expected = start;
            for (std::size_t j = 0; j < count; ++j)
                expected[j] += kernel.at(grid.TimeAt(first + j));
            ForEachDispatchTarget([&](const std::string& target) {
                std::vector<double> sums = start;
                kernel.add(sums.data(), first, count, grid);
                ASSERT_EQ(sums, expected) << kernel.name << ", " << target << ", trial " << trial;
            });
        }
        std::vector<float> samples(count);
        for (float& v : samples) v = static_cast<float>(height * unit(random));
        std::vector<float> expected = samples;
        for (std::size_t j = 0; j < count; ++j)
            expected[j] = static_cast<float>((start[j] + height) + expected[j]);
        const std::vector<double> other(count, height);
        ForEachDispatchTarget([&](const std::string& target) {
            std::vector<float> got = samples;
            AddToSamples(got.data(), start.data(), other.data(), count);
            ASSERT_EQ(got, expected) << target;
        });
    }
}

}  // namespace
