#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "Signal4.h"
#include "SignalComponents.h"

// The baseline components that are functions of time alone: steps, then sine, then settling
// term, summed in that order, on blocks of samples (on vectors) and at any time (on one lane),
// with the same bits at a sample's time.
//
// The steps' part is the sum of the heights of the steps that have fully risen plus the sum of
// the values of those still rising, each sum in list order: a step is exactly 0 while its argument
// x = (t - time) * 2 ln 9 / width is below -37, and exactly its height above 37, where 1 + e^-x is
// 1 in double. So 10,000 steps cost their rises, not 10,000 terms at every sample.
class BaselineTimeTerms {
public:
    BaselineTimeTerms(const ChannelComponents& components, const SampleGrid& grid, std::size_t n);

    // out[j] = the terms at sample first + j, for j < count; blocks come in order from the first.
    void Fill(double* out, std::size_t first, std::size_t count);
    // The same sum at time t.
    double At(double t) const;

private:
    struct StepSpan {
        std::size_t rising;  // the first sample of the rise
        std::size_t risen;   // the first sample at the full height
        double rate;         // 2 ln 9 / width
    };

    void FillSteps(double* out, std::size_t first, std::size_t count);
    double StepsAt(double t) const;
    double RisenSum(std::size_t sample) const;

    const std::vector<BaselineStep>& m_steps;
    std::optional<BaselineSine> m_sine;
    std::optional<BaselineSettle> m_settle;
    SampleGrid m_grid;
    double m_frequency = 0.0;    // turns per minute, 1 / period
    double m_phase_turns = 0.0;  // phase / 2 pi
    std::vector<StepSpan> m_spans;
    std::vector<std::size_t> m_by_rise;  // step indices by the sample where they have risen
    std::size_t m_next_rise = 0;         // in m_by_rise: the first step not yet risen
    double m_risen = 0.0;                // the heights of the steps risen
};
