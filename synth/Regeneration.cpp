#include "Regeneration.h"

#include <algorithm>
#include <cmath>

#include "Drift.h"
#include "FillSignal.h"
#include "IndexRange.h"
#include "NoiseEngine.h"
#include "PeakArea.h"
#include "PeakBounds.h"

namespace {

// Which peaks a regeneration measures, and whether it computes the whole signal or only what
// their measurements read.
struct Coverage {
    std::size_t first_peak = 0;
    std::size_t last_peak = 0;  // one past the last peak measured
    bool whole_signal = true;
};

bool IsEmpty(const IndexRange& range) {
    return range.first >= range.last;
}

IndexRange Hull(const IndexRange& a, const IndexRange& b) {
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return {std::min(a.first, b.first), std::max(a.last, b.last)};
}

bool Contains(const IndexRange& outer, const IndexRange& inner) {
    return IsEmpty(inner) || (outer.first <= inner.first && inner.last <= outer.last);
}

// Where the first fill for one peak's measurement goes: this many widths and samples either side
// of its time. An isolated Gaussian's walks stop within about four widths; anything further (a
// neighbour's flank, a tail, a coarse grid) is reached by growing.
constexpr double kFirstWindowWidths = 6.0;
constexpr double kFirstWindowSamples = 8.0;

IndexRange FirstWindow(const Signal4& signal, const GenPeak4& peak) {
    const SampleGrid grid = signal.Grid();
    const double n = static_cast<double>(signal.Size());
    const double centre = (peak.time - grid.start) / grid.step;
    const double reach =
        kFirstWindowWidths * std::fabs(peak.width) / grid.step + kFirstWindowSamples;
    if (!std::isfinite(centre) || !std::isfinite(reach)) return {0, signal.Size()};
    return {static_cast<std::size_t>(std::clamp(std::floor(centre - reach), 0.0, n)),
            static_cast<std::size_t>(std::clamp(std::ceil(centre + reach) + 1.0, 0.0, n))};
}

// The range holding `needed` and as much again on either side, within n samples: growing by
// doubling keeps the number of rounds logarithmic.
IndexRange Grown(const IndexRange& needed, std::size_t n) {
    const std::size_t size = needed.last - needed.first;
    return {needed.first - std::min(needed.first, size), std::min(n, needed.last + size)};
}

// The samples the area measurements of the covered peaks read, sorted and merged.
std::vector<IndexRange> SamplesReadByAreas(const Signal4& signal,
                                           const std::vector<GenPeak4>& peaks,
                                           const Coverage& coverage) {
    std::vector<IndexRange> read;
    for (std::size_t p = coverage.first_peak; p < coverage.last_peak; ++p)
        for (const IndexRange& range : SamplesReadByArea(signal, peaks[p]))
            if (!IsEmpty(range)) read.push_back(range);
    std::sort(read.begin(), read.end(),
              [](const IndexRange& a, const IndexRange& b) { return a.first < b.first; });
    std::vector<IndexRange> merged;
    for (const IndexRange& range : read) {
        if (!merged.empty() && range.first <= merged.back().last)
            merged.back().last = std::max(merged.back().last, range.last);
        else
            merged.push_back(range);
    }
    return merged;
}

// The one place where the order of a regeneration lives. When only part of the signal is
// computed, filled samples stay clean until the loop ends (noise comes after it), so growing the
// fill only adds samples: a sample's value depends on its index alone.
void Regenerate(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                const Coverage& coverage) {
    const std::size_t n = signal.Size();
    IndexRange filled =
        coverage.whole_signal ? IndexRange{0, n} : FirstWindow(signal, peaks[coverage.first_peak]);
    FillSamples(signal, peaks, filled);
    std::vector<IndexRange> read_by_areas;
    for (;;) {
        IndexRange needed;
        for (std::size_t p = coverage.first_peak; p < coverage.last_peak; ++p)
            if (peaks[p].auto_bounds) needed = Hull(needed, FindPeakBounds(signal, peaks[p]));
        if (coverage.whole_signal) break;
        read_by_areas = SamplesReadByAreas(signal, peaks, coverage);
        for (const IndexRange& range : read_by_areas) needed = Hull(needed, range);
        if (Contains(filled, needed)) break;
        const IndexRange grown = Grown(Hull(filled, needed), n);
        FillSamples(signal, peaks, {grown.first, IsEmpty(filled) ? grown.last : filled.first});
        if (!IsEmpty(filled)) FillSamples(signal, peaks, {filled.last, grown.last});
        filled = grown;
    }
    const std::vector<IndexRange> disturbed =
        coverage.whole_signal ? std::vector<IndexRange>{IndexRange{0, n}} : read_by_areas;
    // Draws after the last sample measured only advance the generator, which a trial puts back.
    AddNoiseWithin(signal, noise, disturbed,
                   coverage.whole_signal ? TrailingDraws::Made : TrailingDraws::Skipped);
    AddDriftWithin(signal, drift, disturbed);
    for (std::size_t p = coverage.first_peak; p < coverage.last_peak; ++p)
        ComputePeakArea(signal, peaks[p]);
}

}  // namespace

void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift) {
    Regenerate(signal, peaks, noise, drift, {0, peaks.size(), true});
}

void RegenerateMeasurements(Signal4& signal, std::vector<GenPeak4>& peaks, std::size_t measured,
                            double noise, double drift) {
    Regenerate(signal, peaks, noise, drift, {measured, measured + 1, false});
}
