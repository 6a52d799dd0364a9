#pragma once

#include <cstdint>
#include <random>
#include <utility>

#include "Signal4.h"

// The one noise generator of the process: MT19937 seeded with 42. It comes into being at the
// first noise request and is never reset, so its state carries over between regenerations,
// channels and width fits; a program driven through the same steps produces the same signals.
class NoiseEngine {
public:
    static constexpr std::uint32_t kDefaultSeed = 42;

    // The generator, created (seeded with kDefaultSeed) on first use; creation is thread-safe.
    static NoiseEngine& Instance();

    // Restarts the sequence from `seed`. Only the command-line tool's --seed and tests use it.
    void Seed(std::uint32_t seed) { m_engine.seed(seed); }

    std::uint32_t NextWord() { return static_cast<std::uint32_t>(m_engine()); }
    // A uniform number in [0, 1) with 53 random bits, from two words.
    double NextUniform();
    // Two independent standard normal deviates (the polar method).
    std::pair<double, double> NextNormalPair();

private:
    NoiseEngine() = default;
    std::mt19937 m_engine{kDefaultSeed};
};

// The polar method's transform of a point (r1, r2) strictly inside the unit circle, neither
// coordinate 0, into two standard normal deviates. Points very close to the centre are scaled
// up by a power of two first, so that r1^2 + r2^2 neither underflows nor loses precision.
std::pair<double, double> PolarTransform(double r1, double r2);

// Adds to every sample a normal deviate with mean 0 and standard deviation `amplitude`
// (millivolts). Does nothing, and leaves the generator untouched, unless amplitude > 0. Each call
// starts its pairs afresh: a deviate left over from an odd count is discarded.
void AddNoise(Signal4& signal, double amplitude);
