#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "IndexRange.h"
#include "Signal4.h"
#include "SignalComponents.h"

// What the components and the drift add to each sample, in double: the baseline
//   t * drift + (time terms + wander)
// (BaselineTerms.h: ((steps + sine) + settle)) and the noise components pink + spike
// (ComponentStreams.h, which states each random component's draws).

// The channel components of one regeneration of a signal of n samples on `grid`, drawn up to
// sample `end`. The random components do not depend on the samples, so on a long signal their
// draws begin on a second thread as soon as the pass is made; AddTo then adds everything to the
// samples inside `ranges` (sorted, not overlapping, within [0, end)) as AddComponentsWithin does,
// and fills `baseline` and `noise` when given (end must then be n).
class ComponentPass {
public:
    ComponentPass(const ChannelComponents& components, double drift, const SampleGrid& grid,
                  std::size_t n, std::size_t end);
    ~ComponentPass();
    ComponentPass(const ComponentPass&) = delete;
    ComponentPass& operator=(const ComponentPass&) = delete;

    void AddTo(Signal4& signal, std::span<const IndexRange> ranges,
               std::vector<double>* baseline = nullptr, std::vector<double>* noise = nullptr);

private:
    struct Work;
    std::unique_ptr<Work> m_work;
};

// Each sample inside `ranges` (sorted, not overlapping, within the signal) becomes the float
// nearest to (baseline + noise) + sample, computed in double. When `baseline` and `noise` are
// given, they receive every sample's two values (they are resized to the signal's length).
void AddComponentsWithin(Signal4& signal, double drift, const ChannelComponents& components,
                         std::span<const IndexRange> ranges,
                         std::vector<double>* baseline = nullptr,
                         std::vector<double>* noise = nullptr);

// The true baseline, t * drift + the baseline components, at each of `times` on a signal of n
// samples on `grid`: at a sample's time exactly what AddComponentsWithin adds there; between
// samples the steps, sine and settling term at that time and the wander interpolated linearly, as
// Signal4::GetValue interpolates (extrapolating along the first or last pair beyond the samples).
std::vector<double> TrueBaselineAt(const ChannelComponents& components, double drift,
                                   const SampleGrid& grid, std::size_t n,
                                   std::span<const double> times);
