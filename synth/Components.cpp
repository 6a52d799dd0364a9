#include "Components.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "BaselineTerms.h"
#include "ComponentKernels.h"
#include "ComponentStreams.h"

namespace {

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
    BaselineTimeTerms m_time_terms;
    SampleGrid m_grid;
    double m_drift;
    std::optional<WanderStream> m_wander;
};

// The noise components' samples, block after block from the first.
class NoiseSamples {
public:
    NoiseSamples(const ChannelComponents& c, const SampleGrid& grid, std::size_t n) {
        if (c.pink > 0.0) m_pink.emplace(c);
        if (c.spikes && c.spikes->rate > 0.0) m_spikes.emplace(c, grid, n);
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
constexpr std::size_t kChunk = 16 * kComponentBlock;

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
        for (std::size_t b = first; b < last; b += kComponentBlock)
            m_noise.Next(buffer + (b - first), b, std::min(kComponentBlock, last - b));
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
    std::array<double, kComponentBlock> base;
    float* out = signal.samples.data();
    auto range = ranges.begin();
    for (std::size_t first = 0; first < end; first += kComponentBlock) {
        const std::size_t count = std::min(kComponentBlock, end - first);
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
        for (std::size_t first = 0; first < walk.size(); first += kComponentBlock)
            stream.Add(walk.data() + first, std::min(kComponentBlock, walk.size() - first));
    }
    auto wander_at = [&](double t, const Reading& r) {
        if (walk.empty() || (!r.exact && n < 2)) return 0.0;
        if (r.exact) return walk[r.a];
        const double ta = grid.TimeAt(r.a);
        const double tb = grid.TimeAt(r.b);
        if (ta == tb) return walk[r.a];
        return walk[r.a] + (walk[r.b] - walk[r.a]) * (t - ta) / (tb - ta);
    };

    const BaselineTimeTerms terms(components, grid, n);
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
