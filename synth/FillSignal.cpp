#include "FillSignal.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>

#include "FillKernels.h"
#include "GaussPeak.h"
#include "IndexRange.h"
#include "TailedPeak.h"

namespace {

// The samples a peak's term is evaluated at. A regular peak (finite values, non-zero width, a
// positive one for a tailing or fronting peak, on a finite grid) can produce no NaN, so its terms
// may go through the vector path, whose NaNs could differ in sign or payload from the scalar
// path's; the others are summed one sample at a time.
struct PeakSpan {
    IndexRange samples;
    bool vector = false;
    const TailedPeakSetup* tail = nullptr;  // a tailing or fronting peak's on the vector path
};

bool IsRegular(const GenPeak4& peak, const SampleGrid& grid) {
    return std::isfinite(peak.height) && std::isfinite(peak.time) && std::isfinite(peak.width) &&
           peak.width != 0.0 && std::isfinite(grid.start) && std::isfinite(grid.step) &&
           grid.step > 0.0 && (peak.tail.IsGaussian() || peak.width > 0.0);
}

// A Gaussian of negative width is the same as one of positive width; a tailed one is defined only
// for a positive width (the scenario refuses any other) and is summed at every sample otherwise.
double PeakTerm(const GenPeak4& peak, const SampleGrid& grid, std::size_t i) {
    if (peak.tail.IsGaussian())
        return GaussPeak(grid.TimeAt(i), peak.height, peak.width, peak.time);
    return TailedSample(grid, i, peak.height, peak.width, peak.tail, peak.time);
}

bool TermIsZero(const GenPeak4& peak, const SampleGrid& grid, std::size_t i) {
    return PeakTerm(peak, grid, i) == 0.0;
}

// Minutes before and after `time` beyond which the term is certainly 0.0.
TailReach ReachInMinutes(const GenPeak4& peak) {
    if (peak.tail.IsGaussian()) {
        const double reach = kGaussZeroReach * std::fabs(peak.width);
        return {reach, reach};
    }
    const double sigma = peak.width * 0.70710678118654752440;
    const TailReach reach = ReachOf(peak.tail);
    return {reach.before * sigma, reach.after * sigma};
}

// The samples where the peak's term may be non-zero. The estimate from the reach is then checked
// at its ends and widened while the term next to it is non-zero or still on the wrong side of the
// apex: sample times, the scaled distance, and the exponentials' arguments are all monotonic in
// the index on either side of the apex, so once the term is zero on one side it stays zero further
// out. The range is thus exact whatever the rounding of the estimate. Peaks whose term is not
// governed by that argument (non-finite values, zero width) get every sample.
IndexRange SupportOf(const GenPeak4& peak, const SampleGrid& grid, std::size_t n) {
    if (!IsRegular(peak, grid) || n == 0) return {0, n};

    const TailReach reach = ReachInMinutes(peak);
    const double lo = std::floor((peak.time - reach.before - grid.start) / grid.step);
    const double hi = std::ceil((peak.time + reach.after - grid.start) / grid.step) + 1.0;
    const double count = static_cast<double>(n);
    auto clampIndex = [count](double x) {
        return static_cast<std::size_t>(std::clamp(x, 0.0, count));
    };
    IndexRange range{clampIndex(lo), clampIndex(hi)};
    if (range.last < range.first) range.last = range.first;

    while (range.first > 0 &&
           (!TermIsZero(peak, grid, range.first - 1) || grid.TimeAt(range.first - 1) >= peak.time))
        --range.first;
    while (range.last < n &&
           (!TermIsZero(peak, grid, range.last) || grid.TimeAt(range.last) <= peak.time))
        ++range.last;
    return range;
}

// Samples are summed a block at a time, peak by peak in list order, so that every sample receives
// the same additions in the same order as a sample-by-sample sum while the partial sums stay in
// cache.
constexpr std::size_t kBlock = SumBlock::kMaxSamples;
// Below this many Gaussian terms a second thread costs more than it saves.
constexpr std::size_t kTermsPerExtraThread = 250'000;
constexpr std::size_t kMaxThreads = 8;
constexpr std::size_t kKeptSetups = 4096;

// Sums samples [first, last), at most kBlock of them.
void FillBlock(float* out, std::size_t first, std::size_t last, const std::vector<GenPeak4>& peaks,
               const std::vector<PeakSpan>& spans, const SampleGrid& grid) {
    auto touches = [&](const PeakSpan& span) {
        return std::max(first, span.samples.first) < std::min(last, span.samples.last);
    };
    if (std::none_of(spans.begin(), spans.end(), touches)) {
        std::fill(out + first, out + last, 0.0f);
        return;
    }
    std::array<double, kBlock> sums;
    std::fill(sums.begin(), sums.begin() + (last - first), 0.0);
    SumBlock block(sums.data(), first, last - first);
    for (std::size_t p = 0; p < peaks.size(); ++p) {
        const std::size_t from = std::max(first, spans[p].samples.first);
        const std::size_t to = std::min(last, spans[p].samples.last);
        if (from >= to) continue;
        const GenPeak4& peak = peaks[p];
        if (spans[p].vector && !peak.tail.IsGaussian()) {
            AddTailedTerms(block, from, to, grid, peak.height, peak.width, peak.tail, peak.time,
                           *spans[p].tail);
            continue;
        }
        if (spans[p].vector) {
            AddGaussTerms(block.Sums(from), from, to - from, grid, peak.height, peak.width,
                          peak.time);
        } else {
            for (std::size_t i = from; i < to; ++i) *block.Sums(i) += PeakTerm(peak, grid, i);
        }
        block.Forget(from, to);
    }
    RoundToFloats(sums.data(), out + first, last - first);
}

}  // namespace

void FillSignal(Signal4& signal, std::size_t n, const std::vector<GenPeak4>& peaks) {
    signal.Resize(n);
    FillSamples(signal, peaks, {0, n});
}

void FillSamples(Signal4& signal, const std::vector<GenPeak4>& peaks, IndexRange range) {
    const std::size_t n = signal.Size();
    range.last = std::min(range.last, n);
    if (range.first >= range.last) return;
    const SampleGrid grid = signal.Grid();

    std::vector<PeakSpan> spans;
    spans.reserve(peaks.size());
    std::size_t terms = 0;
    std::size_t tailed = 0;  // tailing or fronting peaks on the vector path that the fill reaches
    auto is_tailed = [&](std::size_t p) {
        const IndexRange& support = spans[p].samples;
        return spans[p].vector && !peaks[p].tail.IsGaussian() &&
               std::max(range.first, support.first) < std::min(range.last, support.last);
    };
    for (const GenPeak4& peak : peaks) {
        spans.push_back({SupportOf(peak, grid, n), IsRegular(peak, grid)});
        const IndexRange& support = spans.back().samples;
        const std::size_t from = std::max(range.first, support.first);
        const std::size_t to = std::min(range.last, support.last);
        terms += from < to ? to - from : 0;
        if (is_tailed(spans.size() - 1)) ++tailed;
    }

    // The setup of the tailing and fronting peaks this fill reaches, made before the threads
    // start. Its storage is kept by the calling thread from one fill to the next, as a fresh page
    // costs a fault of several microseconds on a virtual machine, up to kKeptSetups peaks (8 MB);
    // a fill with more gets storage of its own.
    thread_local std::vector<TailedPeakSetup> kept_setups;
    std::vector<TailedPeakSetup> own_setups;
    std::vector<TailedPeakSetup>& setups = tailed <= kKeptSetups ? kept_setups : own_setups;
    if (setups.size() < tailed) setups.resize(tailed);
    std::size_t made = 0;
    for (std::size_t p = 0; p < peaks.size(); ++p) {
        if (!is_tailed(p)) continue;
        const GenPeak4& peak = peaks[p];
        MakeTailedPeakSetup(setups[made], grid, peak.height, peak.width, peak.tail);
        spans[p].tail = &setups[made++];
    }

    const std::size_t block_count = (range.last - range.first + kBlock - 1) / kBlock;
    std::atomic<std::size_t> next_block{0};
    auto work = [&] {
        for (std::size_t b = next_block++; b < block_count; b = next_block++) {
            const std::size_t first = range.first + b * kBlock;
            FillBlock(signal.samples.data(), first, std::min(range.last, first + kBlock), peaks,
                      spans, grid);
        }
    };

    // Blocks are independent, so a long run is shared among the cores; each block's samples are
    // the same whichever thread computes them.
    std::vector<std::thread> helpers;
    if (terms >= kTermsPerExtraThread) {
        const std::size_t wanted =
            std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()), kMaxThreads,
                                   terms / kTermsPerExtraThread + 1, block_count});
        try {
            while (helpers.size() + 1 < wanted) helpers.emplace_back(work);
        } catch (const std::system_error&) {
            // No more threads to be had: the ones running and this one finish the work.
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
}
