// The channel components against their closed forms and their statistics, and the rules of their
// streams: each random component draws from a stream of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include "synth/Components.h"
#include "synth/NoiseEngine.h"
#include "synth/Regeneration.h"
#include "tests/support/DispatchTargets.h"
#include "tests/support/FloatUlps.h"
#include "tests/support/PlacedPeaks.h"
#include "tests/support/ReferenceNoise.h"

namespace {

// The parts of a channel of `minutes` at `rate` samples per minute without peaks.
SignalParts PartsOf(const ChannelComponents& components, double minutes, double rate,
                    double noise = 0.0, double drift = 0.0, Signal4* out = nullptr) {
    Signal4 signal = ZeroSignal(minutes, rate);
    std::vector<GenPeak4> none;
    SignalParts parts;
    RegenerateSignal(signal, none, noise, drift, components, &parts);
    if (out) *out = signal;
    return parts;
}

double Mean(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

double Spread(const std::vector<double>& v) {
    const double mean = Mean(v);
    double square = 0.0;
    for (double x : v) square += (x - mean) * (x - mean);
    return std::sqrt(square / static_cast<double>(v.size()));
}

// Without noise, each baseline component is its formula, to the float rounding of the sample.
TEST(Components, BaselineComponentsFollowTheirFormulas) {
    const double ln9 = std::log(9.0);
    auto step = [ln9](double t, double at, double height, double width) {
        return height / (1.0 + std::exp(-(t - at) * 2.0 * ln9 / width));
    };
    ChannelComponents steps;
    steps.steps = {{4.0, 2.0, 0.4}, {6.0, -0.5, 1.5}};
    ChannelComponents sharp;
    sharp.steps = {{5.0, 3.0, 0.0}};
    ChannelComponents sine;
    sine.sine = BaselineSine{0.5, 0.7, 1.2};
    ChannelComponents settle;
    settle.settle = BaselineSettle{1.5, 2.0};
    ChannelComponents all = steps;
    all.sine = sine.sine;
    all.settle = settle.settle;
    const struct {
        const char* label;
        ChannelComponents components;
        double drift;
        std::function<double(double)> expected;
    } cases[] = {
        {"steps", steps, 0.0,
         [&](double t) { return step(t, 4.0, 2.0, 0.4) + step(t, 6.0, -0.5, 1.5); }},
        {"sharp step", sharp, 0.0, [](double t) { return t < 5.0    ? 0.0
                                                         : t == 5.0 ? 1.5
                                                                    : 3.0; }},
        {"sine", sine, 0.0,
         [](double t) { return 0.5 * std::sin(2.0 * std::numbers::pi * t / 0.7 + 1.2); }},
        {"settle", settle, 0.0, [](double t) { return 1.5 * std::exp(-t / 2.0); }},
        {"all with drift", all, 0.3,
         [&](double t) {
             return 0.3 * t + step(t, 4.0, 2.0, 0.4) + step(t, 6.0, -0.5, 1.5) +
                    0.5 * std::sin(2.0 * std::numbers::pi * t / 0.7 + 1.2) +
                    1.5 * std::exp(-t / 2.0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Signal4 signal;
        const SignalParts parts = PartsOf(c.components, 10.0, 100.0, 0.0, c.drift, &signal);
        for (std::size_t i = 0; i < signal.Size(); ++i) {
            const double t = static_cast<double>(i) * 0.01;
            ASSERT_NEAR(parts.baseline[i], c.expected(t), 1e-13) << "sample " << i;
            ASSERT_LE(UlpDistance(signal.samples[i], static_cast<float>(c.expected(t))), 1)
                << "sample " << i;
            ASSERT_EQ(parts.noise[i], 0.0);
        }
    }
    // The width is the rise from 10 % to 90 % of the height.
    Signal4 signal;
    PartsOf(steps, 10.0, 100.0, 0.0, 0.0, &signal);
    EXPECT_FLOAT_EQ(signal.samples[380] - step(3.8, 6.0, -0.5, 1.5), 0.2f);
    EXPECT_FLOAT_EQ(signal.samples[420] - step(4.2, 6.0, -0.5, 1.5), 1.8f);
}

// The power spectrum, averaged over segments and over log-spaced bands.
struct Band {
    double frequency;  // of the band's centre, in units of the sampling rate
    double power;
};

void Fft(std::vector<std::complex<double>>& x) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> turn = std::polar(1.0, -2.0 * std::numbers::pi / len);
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k, w *= turn) {
                const std::complex<double> a = x[i + k];
                const std::complex<double> b = x[i + k + len / 2] * w;
                x[i + k] = a + b;
                x[i + k + len / 2] = a - b;
            }
        }
    }
}

std::vector<Band> BandPowers(const std::vector<double>& signal, std::size_t segment, double lowest,
                             std::size_t bands) {
    std::vector<double> power(segment / 2 + 1, 0.0);
    for (std::size_t start = 0; start + segment <= signal.size(); start += segment) {
        const double mean =
            std::accumulate(signal.begin() + start, signal.begin() + start + segment, 0.0) /
            static_cast<double>(segment);
        std::vector<std::complex<double>> x(segment);
        for (std::size_t i = 0; i < segment; ++i)
            x[i] = (signal[start + i] - mean) *
                   (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / segment));  // Hann window
        Fft(x);
        for (std::size_t k = 0; k < power.size(); ++k) power[k] += std::norm(x[k]);
    }
    std::vector<Band> result;
    const double ratio = std::pow(0.5 / lowest, 1.0 / static_cast<double>(bands));
    for (std::size_t b = 0; b < bands; ++b) {
        const double from = lowest * std::pow(ratio, b) * segment;
        const double to = from * ratio;
        double sum = 0.0;
        std::size_t count = 0;
        for (auto k = static_cast<std::size_t>(std::ceil(from)); k < to && k < power.size(); ++k) {
            sum += power[k];
            ++count;
        }
        result.push_back({std::sqrt(from * to) / segment, sum / count});
    }
    return result;
}

double LogLogSlope(const std::vector<Band>& bands) {
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Band& b : bands) {
        const double x = std::log(b.frequency);
        const double y = std::log(b.power);
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const double n = static_cast<double>(bands.size());
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

// On a long run the pink noise has the requested spread, and its spectrum falls as 1/f from a
// thousandth of the sampling rate to half of it: over the whole range and over each half of it.
TEST(Components, PinkNoiseHasItsSpreadAndFallsAsOneOverF) {
    ChannelComponents pink;
    pink.pink = 0.3;
    const std::vector<double> noise = PartsOf(pink, 1024.0, 1024.0).noise;
    EXPECT_NEAR(Spread(noise), 0.3, 0.3 * 0.05);
    const std::vector<Band> bands = BandPowers(noise, 1 << 14, 1.0 / 1000.0, 24);
    EXPECT_NEAR(LogLogSlope(bands), -1.0, 0.15);
    EXPECT_NEAR(LogLogSlope({bands.begin(), bands.begin() + 12}), -1.0, 0.15);
    EXPECT_NEAR(LogLogSlope({bands.begin() + 12, bands.end()}), -1.0, 0.15);
}

// 100 minutes of spikes at 2 per minute: 200 expected; the count lies within four standard
// deviations of the Poisson count, each spike's height within its range, half of them negative.
TEST(Components, SpikesAreAPoissonProcessOfTheirRate) {
    ChannelComponents spikes;
    spikes.spikes = SpikeTrain{2.0, 0.5, 3.0};
    const std::vector<double> noise = PartsOf(spikes, 100.0, 6000.0).noise;
    std::size_t count = 0, negative = 0, in_range = 0;
    for (double v : noise) {
        if (v == 0.0) continue;
        ++count;
        negative += v < 0.0;
        in_range += std::fabs(v) >= 0.5 && std::fabs(v) <= 3.0;
    }
    EXPECT_NEAR(static_cast<double>(count), 200.0, 4.0 * std::sqrt(200.0));
    EXPECT_NEAR(static_cast<double>(negative), count / 2.0, 4.0 * std::sqrt(count / 4.0));
    EXPECT_GE(in_range + 1, count);  // two spikes meeting in one sample add
}

// The wander starts at 0 and steps with variance sigma^2 times the sampling step.
TEST(Components, WanderStepsHaveVarianceSigmaSquaredTimesTheStep) {
    ChannelComponents wander;
    wander.wander = 0.5;
    const std::vector<double> walk = PartsOf(wander, 100.0, 1000.0).baseline;
    EXPECT_EQ(walk[0], 0.0);
    std::vector<double> steps(walk.size() - 1);
    for (std::size_t i = 1; i < walk.size(); ++i) steps[i - 1] = walk[i] - walk[i - 1];
    EXPECT_NEAR(Mean(steps), 0.0, 4.0 * 0.5 * std::sqrt(0.001 / steps.size()));
    EXPECT_NEAR(Spread(steps), 0.5 * std::sqrt(0.001), 0.5 * std::sqrt(0.001) * 0.02);
}

// Adding a component moves no other one's draws: the wander, the spikes and the white noise are
// the same with or without pink noise; another channel or seed draws another wander.
TEST(Components, EachRandomComponentHasAStreamOfItsOwn) {
    ChannelComponents some;
    some.wander = 0.4;
    some.spikes = SpikeTrain{1.0, 1.0, 2.0};
    ChannelComponents more = some;
    more.pink = 0.2;
    std::vector<SignalParts> parts;
    std::vector<std::uint32_t> next_white;
    for (const ChannelComponents& c : {ChannelComponents{}, some, more}) {
        NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
        parts.push_back(PartsOf(c, 20.0, 600.0, 0.3));
        next_white.push_back(NoiseEngine::Instance().NextWord());
    }
    EXPECT_EQ(next_white[1], next_white[0]);
    EXPECT_EQ(next_white[2], next_white[0]);
    EXPECT_EQ(parts[2].baseline, parts[1].baseline);
    ChannelComponents pink_alone;
    pink_alone.pink = 0.2;
    const std::vector<double> pink = PartsOf(pink_alone, 20.0, 600.0).noise;
    for (std::size_t i = 0; i < pink.size(); ++i)
        ASSERT_NEAR(parts[2].noise[i], parts[1].noise[i] + pink[i], 1e-12) << i;

    for (auto change : {+[](ChannelComponents& c) { c.channel = 1; },
                        +[](ChannelComponents& c) { c.seed = 43; }}) {
        ChannelComponents other = some;
        change(other);
        EXPECT_NE(PartsOf(other, 20.0, 600.0).baseline, parts[1].baseline);
    }
}

// The long run with every component and tailing peaks (the first 40 of its peaks, for the time
// the sanitizer build takes) has the same samples and parts on every dispatch target, and its
// white noise and baseline parts are those of the straightforward definitions: std::mt19937's
// deviates times the amplitude, and TrueBaselineAt sample by sample.
TEST(Components, LongRunHasTheSameBytesOnEveryTarget) {
    std::vector<float> first;
    std::vector<double> baseline, noise;
    ForEachDispatchTarget([&](const std::string& target) {
        SCOPED_TRACE(target);
        NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
        Signal4 s = LongRunSignal();
        std::vector<GenPeak4> peaks = LongRunTailingPeaks();
        peaks.resize(40);
        SignalParts parts;
        RegenerateSignal(s, peaks, kLongRunNoise, kLongRunDrift, LongRunComponents(), &parts);
        if (first.empty()) {
            first = s.samples;
            baseline = parts.baseline;
            noise = parts.noise;
        }
        EXPECT_EQ(s.samples, first);
        EXPECT_EQ(parts.baseline, baseline);
        EXPECT_EQ(parts.noise, noise);
    });

    const SampleGrid grid = LongRunSignal().Grid();
    std::vector<double> times(baseline.size());
    for (std::size_t i = 0; i < times.size(); ++i) times[i] = grid.TimeAt(i);
    EXPECT_EQ(TrueBaselineAt(LongRunComponents(), kLongRunDrift, grid, times.size(), times),
              baseline);
    // Without components, the noise part is the white noise alone.
    NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
    const std::vector<double> white = PartsOf({}, 10.0, 100.0, 0.7).noise;
    ReferenceNoise reference(NoiseEngine::kDefaultSeed);
    for (std::size_t i = 0; i < white.size(); i += 2) {
        const auto [z1, z2] = reference.NextNormalPair();
        EXPECT_NEAR(white[i], z1 * 0.7, 1e-15);
        EXPECT_NEAR(white[i + 1], z2 * 0.7, 1e-15);
    }
}

// Between samples the true baseline holds the time terms at that time and the wander interpolated
// between its neighbours.
TEST(Components, TrueBaselineBetweenSamples) {
    ChannelComponents c;
    c.steps = {{4.0, 2.0, 0.4}};
    c.wander = 0.3;
    ChannelComponents step_alone;
    step_alone.steps = c.steps;
    ChannelComponents wander_alone;
    wander_alone.wander = c.wander;
    const SampleGrid grid{0.0, 0.01};
    const std::vector<double> walk = PartsOf(wander_alone, 10.0, 100.0).baseline;
    for (double t : {3.955, 4.0025, 7.3333}) {
        const std::size_t a = static_cast<std::size_t>(t / 0.01);
        const double share = (t - grid.TimeAt(a)) / 0.01;
        const double wander = walk[a] + (walk[a + 1] - walk[a]) * share;
        const double step = 2.0 / (1.0 + std::exp(-(t - 4.0) * 2.0 * std::log(9.0) / 0.4));
        const double times[] = {t};
        EXPECT_NEAR(TrueBaselineAt(c, 0.5, grid, 1000, times)[0], 0.5 * t + step + wander, 1e-12)
            << t;
    }
}

}  // namespace
