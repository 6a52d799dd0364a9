#include "NoiseEngine.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

NoiseEngine& NoiseEngine::Instance() {
    thread_local NoiseEngine engine;
    return engine;
}

double NoiseEngine::NextUniform() {
    const std::uint64_t a = NextWord();
    const std::uint64_t b = NextWord();
    const std::uint64_t x = (b << 21) + (a >> 11);  // 53 bits
    return static_cast<double>(x) * 0x1p-53;
}

std::pair<double, double> NoiseEngine::NextNormalPair() {
    double r1 = 0.0;
    double r2 = 0.0;
    double s = 0.0;
    do {
        r1 = 2.0 * NextUniform() - 1.0;
        r2 = 2.0 * NextUniform() - 1.0;
        s = r1 * r1 + r2 * r2;
    } while (!(s < 1.0 && r1 != 0.0 && r2 != 0.0));
    return PolarTransform(r1, r2);
}

namespace {

// Points are drawn this many attempts at a time. A batch never draws more attempts than pairs
// are still wanted, since each attempt gives at most one pair: the generator is never advanced
// beyond the last pair used.
constexpr std::size_t kAttemptsPerBatch = 512;
constexpr std::size_t kPointsPerBatch = kAttemptsPerBatch + kPolarPadding;

// The accepted points of one batch, in drawing order: point k gives the deviates of samples
// 2 (first_pair + k) and 2 (first_pair + k) + 1, which land in deviates[2k] and deviates[2k + 1].
struct PointBatch {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(4 * kAttemptsPerBatch);
    std::vector<double> r1 = std::vector<double>(kPointsPerBatch);
    std::vector<double> r2 = std::vector<double>(kPointsPerBatch);
    std::vector<double> s = std::vector<double>(kPointsPerBatch);
    std::vector<double> deviates = std::vector<double>(2 * kPointsPerBatch);
    std::size_t first_pair = 0;
    std::size_t count = 0;
};

// Adds their deviates to samples [from, to), which lie within the batch's samples.
void AddBatchDeviates(PointBatch& batch, float* samples, std::size_t from, std::size_t to,
                      double amplitude) {
    const std::size_t first_sample = 2 * batch.first_pair;
    const std::size_t first = from / 2 - batch.first_pair;
    const std::size_t last = (to + 1) / 2 - batch.first_pair;
    PolarDeviates(batch.r1.data() + first, batch.r2.data() + first, batch.s.data() + first,
                  batch.deviates.data() + 2 * first, last - first);
    for (std::size_t k = first; k < last; ++k) {
        if (batch.s[k] > 1e-4) continue;
        std::tie(batch.deviates[2 * k], batch.deviates[2 * k + 1]) =
            PolarTransform(batch.r1[k], batch.r2[k]);
    }
    AddScaledDeviates(samples + from, batch.deviates.data() + (from - first_sample), to - from,
                      amplitude);
}

}  // namespace

void AddNoiseWithin(Signal4& signal, double amplitude, std::span<const IndexRange> ranges,
                    TrailingDraws trailing) {
    if (!(amplitude > 0.0)) return;
    NoiseEngine& engine = NoiseEngine::Instance();
    float* samples = signal.samples.data();
    const std::size_t n = signal.samples.size();
    const std::size_t pairs = (n + 1) / 2;

    PointBatch batch;
    auto range = ranges.begin();
    while (batch.first_pair < pairs) {
        if (range == ranges.end() && trailing == TrailingDraws::Skipped) break;
        const std::size_t attempts = std::min(kAttemptsPerBatch, pairs - batch.first_pair);
        engine.NextWords(batch.words.data(), 4 * attempts);
        // A batch's samples lie before 2 (first_pair + attempts); one that no range reaches only
        // needs its count of accepted points.
        if (range == ranges.end() || range->first >= 2 * (batch.first_pair + attempts)) {
            batch.first_pair += CountPolarPoints(batch.words.data(), attempts);
            continue;
        }
        batch.count = ScreenPolarPoints(batch.words.data(), attempts, batch.r1.data(),
                                        batch.r2.data(), batch.s.data());
        const std::size_t batch_end = std::min(n, 2 * (batch.first_pair + batch.count));
        // Every range that meets the batch's samples, the last one possibly reaching beyond.
        for (; range != ranges.end() && range->first < batch_end; ++range) {
            const std::size_t from = std::max(range->first, 2 * batch.first_pair);
            const std::size_t to = std::min(range->last, batch_end);
            if (from < to) AddBatchDeviates(batch, samples, from, to, amplitude);
            if (range->last > batch_end) break;
        }
        batch.first_pair += batch.count;
    }
}

void AddNoise(Signal4& signal, double amplitude) {
    const std::array<IndexRange, 1> everything{IndexRange{0, signal.samples.size()}};
    AddNoiseWithin(signal, amplitude, everything);
}
