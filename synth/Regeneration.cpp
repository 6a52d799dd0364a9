#include "Regeneration.h"

#include <algorithm>
#include <array>
#include <optional>

#include "Components.h"
#include "Drift.h"
#include "FillSignal.h"
#include "IndexRange.h"
#include "NoiseEngine.h"
#include "PeakArea.h"
#include "PeakBounds.h"

namespace {

// The samples step 4 will read, sorted and merged, or the whole signal.
std::vector<IndexRange> SamplesToDisturb(const Signal4& signal, const std::vector<GenPeak4>& peaks,
                                         RegenerationScope scope) {
    if (scope == RegenerationScope::Everything) return {IndexRange{0, signal.Size()}};
    std::vector<IndexRange> read;
    for (const GenPeak4& peak : peaks)
        for (const IndexRange& range : SamplesReadByArea(signal, peak))
            if (range.first < range.last) read.push_back(range);
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

// noise[i] becomes (z_i * amplitude + 0.0) + noise[i], z_i the white noise's deviates as AddNoise
// drew them from `words`.
void AddWhiteNoisePart(Mt19937 words, double amplitude, std::vector<double>& noise) {
    // Drawn a block at a time; the blocks have even lengths, so the pairs run on as in one draw.
    std::array<double, 4096> deviates;
    for (std::size_t first = 0; first < noise.size(); first += deviates.size()) {
        const std::size_t count = std::min(deviates.size(), noise.size() - first);
        DrawNormalDeviates(words, deviates.data(), count);
        for (std::size_t j = 0; j < count; ++j)
            noise[first + j] = (deviates[j] * amplitude + 0.0) + noise[first + j];
    }
}

}  // namespace

void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      const ChannelComponents& components, RegenerationScope scope,
                      SignalParts* parts) {
    if (scope != RegenerationScope::Everything) parts = nullptr;
    const std::size_t n = signal.Size();
    FillSignal(signal, n, peaks);
    // The components' draws do not depend on the samples: for the whole signal they begin once
    // the fill's threads are done, beside the bounds and the white noise (begun beside the fill,
    // they would only slow its threads down); for a trial, once its bounds say how far they run.
    std::optional<ComponentPass> pass;
    const bool drawn = !components.IsEmpty();
    if (drawn && scope == RegenerationScope::Everything)
        pass.emplace(components, drift, signal.Grid(), n, n);
    for (GenPeak4& peak : peaks)
        if (peak.auto_bounds) FindPeakBounds(signal, peak);
    const std::vector<IndexRange> disturbed = SamplesToDisturb(signal, peaks, scope);
    if (drawn && !pass)
        pass.emplace(components, drift, signal.Grid(), n,
                     disturbed.empty() ? 0 : disturbed.back().last);
    std::optional<Mt19937> white;
    if (parts) {
        parts->peaks = signal.samples;
        white = NoiseEngine::Instance().Words();
    }
    AddNoiseWithin(signal, noise, disturbed);
    if (pass) {
        pass->AddTo(signal, disturbed, parts ? &parts->baseline : nullptr,
                    parts ? &parts->noise : nullptr);
    } else {
        AddDriftWithin(signal, drift, disturbed);
        // The drift alone, through the same sums, touching no sample.
        if (parts)
            AddComponentsWithin(signal, drift, components, {}, &parts->baseline, &parts->noise);
    }
    if (parts && noise > 0.0) AddWhiteNoisePart(*white, noise, parts->noise);
    for (GenPeak4& peak : peaks) ComputePeakArea(signal, peak);
}

void RegenerateSignal(Signal4& signal, std::vector<GenPeak4>& peaks, double noise, double drift,
                      RegenerationScope scope) {
    RegenerateSignal(signal, peaks, noise, drift, ChannelComponents{}, scope);
}
