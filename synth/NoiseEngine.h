#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "IndexRange.h"
#include "Mt19937.h"
#include "PolarPoints.h"
#include "Signal4.h"

// The noise generator: MT19937 seeded with 42. It comes into being at the first noise request and
// is never reset, so its state carries over between regenerations and channels (a width fit puts
// it back where it found it); a program driven through the same steps produces the same signals.
// There is one per thread: the desktop program draws noise on one thread only, and each document of
// a batch is made on one thread from its own seed, whatever the other threads do meanwhile.
class NoiseEngine {
public:
    static constexpr std::uint32_t kDefaultSeed = 42;

    // The calling thread's generator, created (seeded with kDefaultSeed) on its first use there.
    static NoiseEngine& Instance();

    // Restarts the sequence from `seed`. Only the command-line tool's --seed and tests use it.
    void Seed(std::uint32_t seed) { m_words.Seed(seed); }

    // The generator's whole state (its 624 words and the position in them), to come back to: a
    // width fit replays the same noise in every trial and leaves the generator where it found it.
    Mt19937 State() const { return m_words; }
    void Restore(const Mt19937& state) { m_words = state; }

    std::uint32_t NextWord() { return m_words.Next(); }
    // The next `count` words, as `count` calls of NextWord would give them.
    void NextWords(std::uint32_t* out, std::size_t count) { m_words.Generate(out, count); }
    // A uniform number in [0, 1) with 53 random bits, from two words.
    double NextUniform();
    // Two independent standard normal deviates (the polar method).
    std::pair<double, double> NextNormalPair();

private:
    NoiseEngine() = default;
    Mt19937 m_words{kDefaultSeed};
};

// Adds to every sample a normal deviate with mean 0 and standard deviation `amplitude`
// (millivolts). Does nothing, and leaves the generator untouched, unless amplitude > 0. Each call
// starts its pairs afresh: a deviate left over from an odd count is discarded. The deviates are
// those of NextNormalPair, pair after pair, bit for bit.
void AddNoise(Signal4& signal, double amplitude);

// Whether AddNoiseWithin makes the draws that belong to samples after its last range. They only
// advance the generator, so a caller that puts the generator back afterwards skips them.
enum class TrailingDraws { Made, Skipped };

// Draws exactly what AddNoise draws, leaving the generator in the same state, but adds the
// deviates only to the samples inside `ranges` (sorted, not overlapping, within the signal); the
// others keep their values. The polar method's acceptance test still runs for every pair, but
// the logarithms, square roots and writes of the samples outside are saved. With
// TrailingDraws::Skipped the generator stops after the last range's deviates.
void AddNoiseWithin(Signal4& signal, double amplitude, std::span<const IndexRange> ranges,
                    TrailingDraws trailing = TrailingDraws::Made);
