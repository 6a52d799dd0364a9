#include "Components.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>

#include "ComponentKernels.h"
#include "Mt19937.h"
#include "NoiseEngine.h"
#include "PinkFilter.h"
#include "ScalarMath.h"

namespace {

// Samples are made a block at a time, the random components' streams running on from block to
// block; every block but the last has an even length, so that each stream's deviates are those
// of one long draw.
constexpr std::size_t kBlock = 4096;

constexpr double kTwoLn9 = 4.3944491546724388;
// Beyond this argument 1 + e^-x is 1 in double (e^-37 < 2^-53): a step has its full height.
constexpr double kStepFlat = 37.0;

double StepRate(const BaselineStep& step) {
    return kTwoLn9 / step.width;
}

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

// The steps' part of the baseline: the heights of the steps that have risen plus the values of
// those rising, each sum in list order.
class StepsSum {
public:
    StepsSum(const std::vector<BaselineStep>& steps, const SampleGrid& grid, std::size_t n)
        : m_steps(steps), m_grid(grid) {
        for (const BaselineStep& step : steps) {
            const double rate = StepRate(step);
            auto argument = [&](std::size_t i) {
                return StepArgument(grid.TimeAt(i), step.time, rate);
            };
            const std::size_t rising =
                FirstIndexWhere(n, [&](std::size_t i) { return argument(i) >= -kStepFlat; });
            const std::size_t risen =
                FirstIndexWhere(n, [&](std::size_t i) { return argument(i) > kStepFlat; });
            m_spans.push_back({rising, risen, rate});
        }
        m_by_rise.resize(steps.size());
        std::iota(m_by_rise.begin(), m_by_rise.end(), std::size_t{0});
        std::stable_sort(m_by_rise.begin(), m_by_rise.end(), [this](std::size_t a, std::size_t b) {
            return m_spans[a].risen < m_spans[b].risen;
        });
    }

    // out[j] = the steps' sum at sample first + j; blocks come in order.
    void Fill(double* out, std::size_t first, std::size_t count) {
        std::fill(out, out + count, 0.0);
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
            for (; i < until; ++i) out[i - first] = m_risen + out[i - first];
        }
    }

    // The same sum at any time t.
    double At(double t) const {
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

private:
    struct Span {
        std::size_t rising;  // first sample of the rise
        std::size_t risen;   // first sample at the full height
        double rate;
    };

    double RisenSum(std::size_t i) const {
        double sum = 0.0;
        for (std::size_t k = 0; k < m_steps.size(); ++k)
            if (m_spans[k].risen <= i) sum += m_steps[k].height;
        return sum;
    }

    const std::vector<BaselineStep>& m_steps;
    SampleGrid m_grid;
    std::vector<Span> m_spans;
    std::vector<std::size_t> m_by_rise;  // step indices by the sample where they have risen
    std::size_t m_next_rise = 0;
    double m_risen = 0.0;
};

// The baseline components that are functions of time: steps, then sine, then settling term.
class TimeTerms {
public:
    TimeTerms(const ChannelComponents& c, const SampleGrid& grid, std::size_t n)
        : m_steps(c.steps, grid, n), m_sine(c.sine), m_settle(c.settle), m_grid(grid) {
        if (m_sine) m_phase_turns = m_sine->phase / kTwoPi;
    }

    void Fill(double* out, std::size_t first, std::size_t count) {
        m_steps.Fill(out, first, count);
        if (m_sine)
            AddSineTerms(out, first, count, m_grid, m_sine->amplitude, m_sine->period,
                         m_phase_turns);
        if (m_settle)
            AddSettleTerms(out, first, count, m_grid, m_settle->height, m_settle->time_constant);
    }

    double At(double t) const {
        double sum = m_steps.At(t);
        if (m_sine) sum += SineAt(t, m_sine->amplitude, m_sine->period, m_phase_turns);
        if (m_settle) sum += SettleAt(t, m_settle->height, m_settle->time_constant);
        return sum;
    }

private:
    static constexpr double kTwoPi = 6.283185307179586;
    StepsSum m_steps;
    std::optional<BaselineSine> m_sine;
    std::optional<BaselineSettle> m_settle;
    SampleGrid m_grid;
    double m_phase_turns = 0.0;
};

double NextUniform(Mt19937& words) {
    const std::uint64_t a = words.Next();
    const std::uint64_t b = words.Next();
    return static_cast<double>((b << 21) + (a >> 11)) * 0x1p-53;
}

class WanderStream {
public:
    WanderStream(const ChannelComponents& c, const SampleGrid& grid)
        : m_words(ComponentSeed(c.seed, c.channel, ComponentStream::Wander)),
          m_scale(c.wander * std::sqrt(grid.step)) {}

    // out[j] += the walk at the next sample, for j < count.
    void Add(double* out, std::size_t count) {
        DrawNormalDeviates(m_words, m_deviates.data(), count);
        // A local walk, which the compiler can keep in a register: `out` might alias a member.
        double walk = m_walk;
        for (std::size_t j = 0; j < count; ++j) {
            out[j] += walk;
            walk += m_scale * m_deviates[j];
        }
        m_walk = walk;
    }

private:
    Mt19937 m_words;
    double m_scale;
    double m_walk = 0.0;
    std::array<double, kBlock> m_deviates{};
};

class PinkStream {
public:
    explicit PinkStream(const ChannelComponents& c)
        : m_words(ComponentSeed(c.seed, c.channel, ComponentStream::Pink)),
          m_scale(c.pink / std::sqrt(kPinkUnitVariance)) {
        std::array<double, kBlock> discarded{};
        for (std::size_t done = 0; done < kPinkWarmUp; done += kBlock) {
            DrawNormalDeviates(m_words, m_deviates.data(), kBlock);
            m_filter.Add(m_deviates.data(), discarded.data(), kBlock, 0.0);
        }
    }

    void Add(double* out, std::size_t count) {
        DrawNormalDeviates(m_words, m_deviates.data(), count);
        m_filter.Add(m_deviates.data(), out, count, m_scale);
    }

private:
    static_assert(kPinkWarmUp % kBlock == 0);
    Mt19937 m_words;
    double m_scale;
    PinkFilter m_filter;
    std::array<double, kBlock> m_deviates{};
};

class SpikeStream {
public:
    SpikeStream(const SpikeTrain& train, const ChannelComponents& c, const SampleGrid& grid,
                std::size_t n)
        : m_words(ComponentSeed(c.seed, c.channel, ComponentStream::Spikes)),
          m_train(train),
          m_step(grid.step),
          m_n(n) {
        Advance();
    }

    void Add(double* out, std::size_t first, std::size_t count) {
        while (m_next && m_next->index < first + count) {
            out[m_next->index - first] += m_next->height;
            Advance();
        }
    }

private:
    struct Spike {
        std::size_t index;
        double height;
    };

    void Advance() {
        m_next.reset();
        if (!(m_train.rate > 0.0)) return;
        const double u = NextUniform(m_words);
        m_time += -LogOfPositiveScalar(1.0 - u) / m_train.rate;
        const double position = std::floor(m_time / m_step);
        if (!(position < static_cast<double>(m_n))) return;
        const double magnitude =
            m_train.min_height + NextUniform(m_words) * (m_train.max_height - m_train.min_height);
        const bool negative = (m_words.Next() >> 31) != 0;
        m_next = Spike{static_cast<std::size_t>(position), negative ? -magnitude : magnitude};
    }

    Mt19937 m_words;
    SpikeTrain m_train;
    double m_step;
    std::size_t m_n;
    double m_time = 0.0;  // minutes after the start
    std::optional<Spike> m_next;
};

// The baseline's samples, drift included, block after block from the first.
class BaselineSamples {
public:
    BaselineSamples(const ChannelComponents& c, double drift, const SampleGrid& grid, std::size_t n)
        : m_time_terms(c, grid, n), m_grid(grid), m_drift(drift) {
        if (c.wander > 0.0) m_wander.emplace(c, grid);
    }

    void Next(double* out, std::size_t first, std::size_t count) {
        m_time_terms.Fill(out, first, count);
        if (m_wander) m_wander->Add(out, count);
        AddDriftTerms(out, first, count, m_grid, m_drift);
    }

private:
    TimeTerms m_time_terms;
    SampleGrid m_grid;
    double m_drift;
    std::optional<WanderStream> m_wander;
};

// The noise components' samples, block after block from the first.
class NoiseSamples {
public:
    NoiseSamples(const ChannelComponents& c, const SampleGrid& grid, std::size_t n) {
        if (c.pink > 0.0) m_pink.emplace(c);
        if (c.spikes && c.spikes->rate > 0.0) m_spikes.emplace(*c.spikes, c, grid, n);
    }

    // Whether the noise is worth a thread of its own on a long signal.
    bool IsHeavy() const { return m_pink.has_value(); }

    void Next(double* out, std::size_t first, std::size_t count) {
        std::fill(out, out + count, 0.0);
        if (m_pink) m_pink->Add(out, count);
        if (m_spikes) m_spikes->Add(out, first, count);
    }

private:
    std::optional<PinkStream> m_pink;
    std::optional<SpikeStream> m_spikes;
};

// The noise components of a long signal are made on a second thread, a chunk of samples ahead of
// the baseline on this one; their streams are the same whichever thread runs them.
constexpr std::size_t kChunk = 16 * kBlock;

class NoiseAhead {
public:
    NoiseAhead(NoiseSamples& noise, std::size_t end) : m_noise(noise), m_end(end) {
        if (m_noise.IsHeavy() && end > kChunk) {
            try {
                m_helper = std::thread([this] { Produce(); });
            } catch (const std::system_error&) {
                // No thread to be had: each chunk is made when it is wanted.
            }
        }
    }
    ~NoiseAhead() {
        if (!m_helper.joinable()) return;
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_helper.join();
    }
    NoiseAhead(const NoiseAhead&) = delete;
    NoiseAhead& operator=(const NoiseAhead&) = delete;

    // The noise of chunk k (samples k * kChunk on); chunks are asked for in order, and asking
    // for one gives up the one before.
    const double* Chunk(std::size_t k) {
        double* buffer = m_buffers[k % 2].data();
        if (!m_helper.joinable()) {
            if (k != m_made) Make(k, buffer);
            m_made = k;
            return buffer;
        }
        std::unique_lock lock(m_mutex);
        m_reading = k;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_produced > k || m_failure; });
        if (m_failure) std::rethrow_exception(m_failure);
        return buffer;
    }

private:
    void Make(std::size_t k, double* buffer) {
        const std::size_t first = k * kChunk;
        const std::size_t last = std::min(m_end, first + kChunk);
        for (std::size_t b = first; b < last; b += kBlock)
            m_noise.Next(buffer + (b - first), b, std::min(kBlock, last - b));
    }

    void Produce() {
        const std::size_t chunks = (m_end + kChunk - 1) / kChunk;
        for (std::size_t k = 0; k < chunks; ++k) {
            {
                // Chunk k's buffer held chunk k - 2, which must no longer be read.
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_stop || k < m_reading + 2; });
                if (m_stop) return;
            }
            std::exception_ptr failure;
            try {
                Make(k, m_buffers[k % 2].data());
            } catch (...) {
                failure = std::current_exception();  // out of memory: the reader reports it
            }
            {
                const std::lock_guard lock(m_mutex);
                m_produced = k + 1;
                m_failure = failure;
            }
            m_changed.notify_all();
            if (failure) return;
        }
    }

    NoiseSamples& m_noise;
    std::size_t m_end;
    std::array<std::vector<double>, 2> m_buffers{std::vector<double>(kChunk),
                                                 std::vector<double>(kChunk)};
    std::size_t m_made = SIZE_MAX;  // without the helper: the chunk in its buffer
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_produced = 0;  // chunks made
    std::size_t m_reading = 0;   // the chunk being read; those before it are done with
    bool m_stop = false;
    std::exception_ptr m_failure;
    std::thread m_helper;  // last: started once everything it uses is in place
};

}  // namespace

void AddComponentsWithin(Signal4& signal, double drift, const ChannelComponents& components,
                         std::span<const IndexRange> ranges, std::vector<double>* baseline,
                         std::vector<double>* noise) {
    const std::size_t n = signal.Size();
    const bool keep = baseline != nullptr || noise != nullptr;
    if (baseline) baseline->assign(n, 0.0);
    if (noise) noise->assign(n, 0.0);
    // The streams run from the first sample; past the last range only the parts kept need them.
    const std::size_t end = keep ? n : (ranges.empty() ? 0 : ranges.back().last);
    const SampleGrid grid = signal.Grid();
    BaselineSamples baseline_samples(components, drift, grid, n);
    NoiseSamples noise_samples(components, grid, n);
    NoiseAhead ahead(noise_samples, end);
    std::array<double, kBlock> base;
    float* out = signal.samples.data();
    auto range = ranges.begin();
    for (std::size_t first = 0; first < end; first += kBlock) {
        const std::size_t count = std::min(kBlock, end - first);
        baseline_samples.Next(base.data(), first, count);
        const double* extra = ahead.Chunk(first / kChunk) + first % kChunk;
        if (baseline) std::copy(base.begin(), base.begin() + count, baseline->begin() + first);
        if (noise) std::copy(extra, extra + count, noise->begin() + first);
        const std::size_t last = first + count;
        for (; range != ranges.end() && range->first < last; ++range) {
            const std::size_t from = std::max(first, range->first);
            const std::size_t to = std::min(last, range->last);
            if (from < to)
                AddToSamples(out + from, base.data() + (from - first), extra + (from - first),
                             to - from);
            if (range->last > last) break;
        }
    }
}

std::vector<double> TrueBaselineAt(const ChannelComponents& components, double drift,
                                   const SampleGrid& grid, std::size_t n,
                                   std::span<const double> times) {
    // The samples whose wander each time needs: the one at that very time, or the pair around it.
    struct Reading {
        std::size_t a = 0;
        std::size_t b = 0;
        bool exact = false;
    };
    std::vector<Reading> readings;
    std::size_t needed = 0;
    for (double t : times) {
        Reading r;
        const double position = (t - grid.start) / grid.step;
        if (n >= 1 && position >= 0.0 && position <= static_cast<double>(n - 1)) {
            const auto i = static_cast<std::size_t>(std::llround(position));
            if (grid.TimeAt(i) == t) r = {i, i, true};
        }
        if (!r.exact && n >= 2) {
            const double k = std::floor(position);
            if (k >= static_cast<double>(n - 1))
                r.a = n - 2;
            else if (k > 0.0)
                r.a = static_cast<std::size_t>(k);
            r.b = r.a + 1;
        }
        needed = std::max(needed, r.b + 1);
        readings.push_back(r);
    }

    std::vector<double> walk(components.wander > 0.0 && n >= 1 ? std::min(needed, n) : 0, 0.0);
    if (!walk.empty()) {
        WanderStream stream(components, grid);
        for (std::size_t first = 0; first < walk.size(); first += kBlock)
            stream.Add(walk.data() + first, std::min(kBlock, walk.size() - first));
    }
    auto wander_at = [&](double t, const Reading& r) {
        if (walk.empty() || (!r.exact && n < 2)) return 0.0;
        if (r.exact) return walk[r.a];
        const double ta = grid.TimeAt(r.a);
        const double tb = grid.TimeAt(r.b);
        if (ta == tb) return walk[r.a];
        return walk[r.a] + (walk[r.b] - walk[r.a]) * (t - ta) / (tb - ta);
    };

    const TimeTerms terms(components, grid, n);
    std::vector<double> baseline;
    baseline.reserve(times.size());
    for (std::size_t k = 0; k < times.size(); ++k) {
        const double t = times[k];
        double sum = terms.At(t);
        if (components.wander > 0.0) sum += wander_at(t, readings[k]);
        baseline.push_back(t * drift + sum);
    }
    return baseline;
}
