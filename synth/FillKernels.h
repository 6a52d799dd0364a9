#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "IndexRange.h"
#include "Signal4.h"
#include "TailShape.h"
#include "TailedPeak.h"

// The inner loops of FillSignal, several samples at a time on the widest vectors the processor
// offers, with the same bits on every processor.

// Adds to sums[j] the peak's term at the time of sample first + j, for j < count: the same value
// as sums[j] + GaussPeak(grid.TimeAt(first + j), height, width, time). Terms too small to change a
// sum are not evaluated. The peak's values and the grid must be finite, the width non-zero.
void AddGaussTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                   double height, double width, double time);

// The same for a tailing or fronting peak (not Gaussian, width > 0):
// sums[j] + TailedSample(grid, first + j, height, width, shape, time).
void AddTailedTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                    double height, double width, const TailShape& shape, double time);

// A block of the fill's partial sums and what is known of them between peaks: the smallest
// exponent field of each stretch of it (the samples of one tail block, TailedPeak.h), or -1 when
// not known. A tailing peak's tail runs on far past where it can change the sums, and judging
// that a stretch at a time would otherwise read the same sums again for every peak.
class SumBlock {
public:
    static constexpr std::size_t kMaxSamples = 4096;

    // count <= kMaxSamples sums, sums[0] being sample first's.
    SumBlock(double* sums, std::size_t first, std::size_t count);

    double* Sums(std::size_t i) const { return sums_ + (i - first_); }
    // The samples of the stretch holding sample i, cut to the block.
    IndexRange StretchAround(std::size_t i) const {
        const std::size_t start = i - i % kTailBlock;
        return {std::max(first_, start), std::min(first_ + count_, start + kTailBlock)};
    }
    // The smallest exponent field of the sums of the stretch holding sample i, -1 if not known.
    double KnownField(std::size_t i) const { return fields_[StretchOf(i)]; }
    // The smallest over the stretches holding samples [from, to) (from < to), -1 if any is not
    // known.
    double KnownField(std::size_t from, std::size_t to) const;
    void RememberField(std::size_t i, double field) { fields_[StretchOf(i)] = field; }
    // The sums of samples [from, to) have changed.
    void Forget(std::size_t from, std::size_t to);

private:
    std::size_t StretchOf(std::size_t i) const { return i / kTailBlock - first_ / kTailBlock; }

    double* sums_;
    std::size_t first_;
    std::size_t count_;
    std::array<double, kMaxSamples / kTailBlock + 1> fields_;
};

// What the fill works out once for a tailing or fronting peak on its grid rather than for every
// block of samples it reaches: the weights of its tail blocks by position in a block
// (TailedPeak.h), and the bound on the exponent beyond which its terms change no sum.
struct TailedPeakSetup {
    alignas(64) std::array<double, kTailBlock> weights;
    double negligible_beyond = 0.0;
};
void MakeTailedPeakSetup(TailedPeakSetup& setup, const SampleGrid& grid, double height,
                         double width, const TailShape& shape);

// AddTailedTerms for samples [from, to) of the block, which it keeps informed, with the peak's
// setup from MakeTailedPeakSetup on the same grid.
void AddTailedTerms(SumBlock& block, std::size_t from, std::size_t to, const SampleGrid& grid,
                    double height, double width, const TailShape& shape, double time,
                    const TailedPeakSetup& setup);

// out[j] = the float nearest to sums[j], for j < count.
void RoundToFloats(const double* sums, float* out, std::size_t count);
