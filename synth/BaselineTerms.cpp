#include "BaselineTerms.h"

#include <algorithm>
#include <numeric>

#include "ComponentKernels.h"

namespace {

constexpr double kTwoLn9 = 4.3944491546724388;
constexpr double kTwoPi = 6.283185307179586;
// Beyond this argument 1 + e^-x is 1 in double (e^-37 < 2^-53): a step has its full height.
constexpr double kStepFlat = 37.0;

// The first index in [0, n] where `reached` holds, for a condition that once true stays true.
template <class Condition>
std::size_t FirstIndexWhere(std::size_t n, Condition reached) {
    std::size_t lo = 0;
    std::size_t hi = n;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (reached(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace

BaselineTimeTerms::BaselineTimeTerms(const ChannelComponents& c, const SampleGrid& grid,
                                     std::size_t n)
    : m_steps(c.steps), m_sine(c.sine), m_settle(c.settle), m_grid(grid) {
    if (m_sine) {
        m_frequency = 1.0 / m_sine->period;
        m_phase_turns = m_sine->phase / kTwoPi;
    }
    // The argument is monotonic in the sample's index, so each span is found by bisection, with
    // the very test At applies.
    for (const BaselineStep& step : m_steps) {
        const double rate = kTwoLn9 / step.width;
        auto argument = [&](std::size_t i) {
            return StepArgument(grid.TimeAt(i), step.time, rate);
        };
        const std::size_t rising =
            FirstIndexWhere(n, [&](std::size_t i) { return argument(i) >= -kStepFlat; });
        const std::size_t risen =
            FirstIndexWhere(n, [&](std::size_t i) { return argument(i) > kStepFlat; });
        m_spans.push_back({rising, risen, rate});
    }
    m_by_rise.resize(m_steps.size());
    std::iota(m_by_rise.begin(), m_by_rise.end(), std::size_t{0});
    std::stable_sort(m_by_rise.begin(), m_by_rise.end(), [this](std::size_t a, std::size_t b) {
        return m_spans[a].risen < m_spans[b].risen;
    });
}

void BaselineTimeTerms::Fill(double* out, std::size_t first, std::size_t count) {
    FillSteps(out, first, count);
    if (m_sine)
        AddSineTerms(out, first, count, m_grid, m_sine->amplitude, m_frequency, m_phase_turns);
    if (m_settle)
        AddSettleTerms(out, first, count, m_grid, m_settle->height, m_settle->time_constant);
}

double BaselineTimeTerms::At(double t) const {
    double sum = StepsAt(t);
    if (m_sine) sum += SineAt(t, m_sine->amplitude, m_frequency, m_phase_turns);
    if (m_settle) sum += SettleAt(t, m_settle->height, m_settle->time_constant);
    return sum;
}

void BaselineTimeTerms::FillSteps(double* out, std::size_t first, std::size_t count) {
    std::fill(out, out + count, 0.0);
    if (m_steps.empty()) return;
    const std::size_t end = first + count;
    for (std::size_t k = 0; k < m_steps.size(); ++k) {
        const std::size_t a = std::max(first, m_spans[k].rising);
        const std::size_t b = std::min(end, m_spans[k].risen);
        if (a < b)
            AddRisingStepTerms(out + (a - first), a, b - a, m_grid, m_steps[k].time,
                               m_steps[k].height, m_spans[k].rate);
    }
    for (std::size_t i = first; i < end;) {
        while (m_next_rise < m_by_rise.size() && m_spans[m_by_rise[m_next_rise]].risen <= i) {
            ++m_next_rise;
            m_risen = RisenSum(i);
        }
        const std::size_t until = m_next_rise < m_by_rise.size()
                                      ? std::min(end, m_spans[m_by_rise[m_next_rise]].risen)
                                      : end;
        AddConstant(out + (i - first), until - i, m_risen);
        i = until;
    }
}

double BaselineTimeTerms::StepsAt(double t) const {
    double risen = 0.0;
    double rising = 0.0;
    for (std::size_t k = 0; k < m_steps.size(); ++k) {
        const BaselineStep& step = m_steps[k];
        const double x = StepArgument(t, step.time, m_spans[k].rate);
        if (x > kStepFlat)
            risen += step.height;
        else if (x >= -kStepFlat)
            rising += RisingStepAt(t, step.time, step.height, m_spans[k].rate);
    }
    return risen + rising;
}

double BaselineTimeTerms::RisenSum(std::size_t sample) const {
    double sum = 0.0;
    for (std::size_t k = 0; k < m_steps.size(); ++k)
        if (m_spans[k].risen <= sample) sum += m_steps[k].height;
    return sum;
}
