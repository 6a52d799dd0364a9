#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "synth/Drift.h"
#include "synth/NoiseEngine.h"

namespace {

Signal4 Zeros(std::size_t n, double step = 0.01) {
    Signal4 s(step, 0.0, nullptr, 0);
    s.Resize(n);
    return s;
}

// Each test starts the sequence from the program's seed, as a fresh process would.
class Noise : public ::testing::Test {
protected:
    void SetUp() override { NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed); }
};

TEST_F(Noise, GeneratorIsMersenneTwisterSeededWith42) {
    EXPECT_EQ(NoiseEngine::Instance().NextWord(), 1608637542u);
}

TEST_F(Noise, FirstCallOnAZeroSignal) {
    Signal4 s = Zeros(4);
    AddNoise(s, 1.0);
    EXPECT_EQ(s.samples[0], static_cast<float>(0.5154330696912014));
    EXPECT_EQ(s.samples[1], static_cast<float>(-0.550234494420494));
    EXPECT_EQ(s.samples[2], static_cast<float>(1.3684501222160759));
    EXPECT_EQ(s.samples[3], static_cast<float>(0.47386085566622227));
    EXPECT_NEAR(s.samples[0], 0.5154331, 1e-7);
}

TEST_F(Noise, NonPositiveAmplitudeChangesNothingAndDrawsNothing) {
    Signal4 s = Zeros(4);
    s.samples[2] = 3.0f;
    AddNoise(s, 0.0);
    AddNoise(s, -1.0);
    AddNoise(s, std::nan(""));
    EXPECT_EQ(s.samples, (std::vector<float>{0, 0, 3, 0}));
    EXPECT_EQ(NoiseEngine::Instance().NextWord(), 1608637542u);
}

TEST_F(Noise, AnOddCountDiscardsTheSpareDeviate) {
    // Three samples use both deviates of the first pair and the first of the second; the next
    // call starts with the third pair, not with the spare of the second.
    Signal4 odd = Zeros(3);
    AddNoise(odd, 1.0);
    Signal4 next = Zeros(2);
    AddNoise(next, 1.0);

    NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
    Signal4 six = Zeros(6);
    AddNoise(six, 1.0);
    EXPECT_EQ(odd.samples[2], six.samples[2]);
    EXPECT_NE(next.samples[0], six.samples[3]);
    EXPECT_EQ(next.samples[0], six.samples[4]);
    EXPECT_EQ(next.samples[1], six.samples[5]);
}

TEST_F(Noise, DeviatesHaveTheRequestedSpread) {
    Signal4 s = Zeros(200'000);
    AddNoise(s, 2.5);
    const double n = static_cast<double>(s.Size());
    const double mean = std::accumulate(s.samples.begin(), s.samples.end(), 0.0) / n;
    double square = 0.0;
    for (float v : s.samples) square += (v - mean) * (v - mean);
    EXPECT_NEAR(mean, 0.0, 0.03);
    EXPECT_NEAR(std::sqrt(square / n), 2.5, 0.03);
}

// Noise within ranges draws what AddNoise draws and adds it only inside them.
TEST_F(Noise, WithinRangesOnlyThoseSamplesChangeAndTheGeneratorEndsAlike) {
    constexpr std::size_t n = 5'001;
    Signal4 whole = Zeros(n);
    AddNoise(whole, 1.0);
    const std::uint32_t next = NoiseEngine::Instance().NextWord();

    const std::vector<std::vector<IndexRange>> cases = {
        {},                                     // nothing added, everything drawn
        {{0, 1}},                               // the first deviate of the first pair alone
        {{1, 2}, {3, 4}},                       // second deviates of two pairs
        {{7, 7}, {10, 2'000}, {2'001, 2'003}},  // an empty range, a long one, a short one
        {{4'990, n}},                           // up to the end of an odd count
        {{0, n}},                               // everything
    };
    for (const std::vector<IndexRange>& ranges : cases) {
        NoiseEngine::Instance().Seed(NoiseEngine::kDefaultSeed);
        Signal4 partial = Zeros(n);
        AddNoiseWithin(partial, 1.0, ranges);
        std::vector<bool> inside(n, false);
        for (const IndexRange& r : ranges)
            for (std::size_t i = r.first; i < r.last; ++i) inside[i] = true;
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(partial.samples[i], inside[i] ? whole.samples[i] : 0.0f) << "sample " << i;
        EXPECT_EQ(NoiseEngine::Instance().NextWord(), next);
    }
}

TEST(PolarTransform, MatchesTheDirectFormulaOnBothSidesOfTheSmallRadiusBranch) {
    for (const auto& [r1, r2] :
         {std::pair{0.3, -0.4}, std::pair{3e-3, 4e-3}, std::pair{-6e-5, 8e-5}}) {
        const double s = r1 * r1 + r2 * r2;
        const double f = std::sqrt(-2.0 * std::log(s) / s);
        const auto [z1, z2] = PolarTransform(r1, r2);
        EXPECT_NEAR(z1, f * r1, 1e-13 * std::fabs(f * r1));
        EXPECT_NEAR(z2, f * r2, 1e-13 * std::fabs(f * r2));
    }
}

TEST(PolarTransform, PointsWhoseSquareUnderflowStillGiveFiniteDeviates) {
    // r1 = r2 = 1e-200: s = 2e-400 is below the double range, yet each deviate is
    // f * r = sqrt(-2 ln(2e-400) / 2e-400) * 1e-200 = sqrt(400 ln 10 - ln 2).
    const auto [z1, z2] = PolarTransform(1e-200, 1e-200);
    const double expected = std::sqrt(400.0 * std::log(10.0) - std::log(2.0));
    EXPECT_NEAR(z1, expected, 1e-12 * expected);
    EXPECT_NEAR(z2, expected, 1e-12 * expected);
}

TEST(Drift, AddsDriftTimesTheSampleTime) {
    Signal4 s = Zeros(3);
    s.samples = {1.0f, 1.0f, 1.0f};
    AddDrift(s, 2.0);
    EXPECT_EQ(s.samples[0], 1.0f);
    EXPECT_EQ(s.samples[1], static_cast<float>(0.01 * 2.0 + 1.0));
    EXPECT_EQ(s.samples[2], static_cast<float>(0.02 * 2.0 + 1.0));

    Signal4 empty = Zeros(0);
    AddDrift(empty, 5.0);
    EXPECT_TRUE(empty.samples.empty());

    Signal4 flat = Zeros(3);
    AddDrift(flat, 0.0);
    EXPECT_EQ(flat.samples, std::vector<float>(3, 0.0f));
}

}  // namespace
