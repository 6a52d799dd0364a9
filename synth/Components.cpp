#include "Components.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "BaselineTerms.h"
#include "ComponentKernels.h"
#include "ComponentStreams.h"

namespace {

// The random components' draws, block after block from the first: the noise components (pink
// noise and spikes) and the wander's deviates. They depend on the seed alone, not on the samples.
class Draws {
public:
    Draws(const ChannelComponents& c, const SampleGrid& grid, std::size_t n) {
        if (c.pink > 0.0) m_pink.emplace(c);
        if (c.spikes && c.spikes->rate > 0.0) m_spikes.emplace(c, grid, n);
        if (c.wander > 0.0) m_wander.emplace(c, grid);
    }

    // Whether they are worth a thread of their own on a long signal.
    bool AreHeavy() const { return m_pink || m_wander; }
    std::optional<WanderStream>& Wander() { return m_wander; }

    void Next(double* noise, double* wander_deviates, std::size_t first, std::size_t count) {
        std::fill(noise, noise + count, 0.0);
        if (m_pink) m_pink->Add(noise, count);
        if (m_spikes) m_spikes->Add(noise, first, count);
        if (m_wander) m_wander->Draw(wander_deviates, count);
    }

private:
    std::optional<PinkStream> m_pink;
    std::optional<SpikeStream> m_spikes;
    std::optional<WanderStream> m_wander;
};

// Storage for the chunks, kept by each thread from one pass to the next: on a virtual machine a
// fresh page costs a fault of several microseconds, and a pass on a long signal would touch
// megabytes of fresh pages each time. A pass made while another holds the thread's storage gets
// storage of its own.
class ChunkStorage {
public:
    explicit ChunkStorage(std::size_t count) {
        Kept& kept = ThreadsKept();
        if (kept.lent) {
            m_own.resize(count);
            m_data = m_own.data();
            return;
        }
        if (kept.values.size() < count) kept.values.resize(count);
        kept.lent = true;
        m_lent = &kept;
        m_data = kept.values.data();
    }
    ~ChunkStorage() {
        if (m_lent) m_lent->lent = false;
    }
    ChunkStorage(const ChunkStorage&) = delete;
    ChunkStorage& operator=(const ChunkStorage&) = delete;

    double* Data() { return m_data; }

private:
    struct Kept {
        std::vector<double> values;
        bool lent = false;
    };
    static Kept& ThreadsKept() {
        thread_local Kept kept;
        return kept;
    }

    Kept* m_lent = nullptr;
    std::vector<double> m_own;
    double* m_data = nullptr;
};

// Chunks of the draws, made ahead on a second thread for a long signal (the first from the moment
// the pass is made, while the white noise is added), else each when it is wanted. The streams are
// the same whichever thread runs them.
constexpr std::size_t kChunk = 16 * kComponentBlock;
// Chunks made ahead at most (8 MB of draws). The second thread makes a chunk more slowly than
// AddTo adds one, and AddTo starts only once the bounds and the white noise are done, so a thread
// held back earlier would make the reader wait later: on the long run this many keep it busy
// from start to end.
constexpr std::size_t kAhead = 8;

class DrawsAhead {
public:
    DrawsAhead(Draws& draws, std::size_t end)
        : m_draws(draws),
          m_end(end),
          m_ahead(m_draws.AreHeavy() && end > kChunk),
          // A signal shorter than a chunk needs buffers of its own length only.
          m_storage(2 * (m_ahead ? kAhead : 1) * std::min(kChunk, end)) {
        const std::size_t size = std::min(kChunk, end);
        for (std::size_t k = 0; k < (m_ahead ? kAhead : 1); ++k) {
            double* at = m_storage.Data() + 2 * k * size;
            m_chunks.push_back({at, at + size});
        }
        if (!m_ahead) return;
        try {
            m_helper = std::thread([this] { Produce(); });
        } catch (const std::system_error&) {
            // No thread to be had: each chunk is made when it is wanted.
            m_chunks.erase(m_chunks.begin() + 1, m_chunks.end());
        }
    }
    ~DrawsAhead() {
        if (!m_helper.joinable()) return;
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_helper.join();
    }
    DrawsAhead(const DrawsAhead&) = delete;
    DrawsAhead& operator=(const DrawsAhead&) = delete;

    // Views into the storage; every value is written before it is read.
    struct Chunk {
        double* noise;
        double* wander_deviates;
    };

    // The draws of chunk k (samples k * kChunk on); chunks are asked for in order, and asking for
    // one gives up the one before.
    const Chunk& Get(std::size_t k) {
        Chunk& chunk = m_chunks[k % m_chunks.size()];
        if (!m_helper.joinable()) {
            if (k != m_made) Make(k, chunk);
            m_made = k;
            return chunk;
        }
        std::unique_lock lock(m_mutex);
        m_reading = k;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_produced > k || m_failure; });
        if (m_failure) std::rethrow_exception(m_failure);
        return chunk;
    }

private:
    void Make(std::size_t k, Chunk& chunk) {
        const std::size_t first = k * kChunk;
        const std::size_t last = std::min(m_end, first + kChunk);
        for (std::size_t b = first; b < last; b += kComponentBlock)
            m_draws.Next(chunk.noise + (b - first), chunk.wander_deviates + (b - first), b,
                         std::min(kComponentBlock, last - b));
    }

    void Produce() {
        const std::size_t chunks = (m_end + kChunk - 1) / kChunk;
        for (std::size_t k = 0; k < chunks; ++k) {
            {
                // Chunk k's buffer held chunk k - kAhead, which must no longer be read.
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_stop || k < m_reading + m_chunks.size(); });
                if (m_stop) return;
            }
            std::exception_ptr failure;
            try {
                Make(k, m_chunks[k % m_chunks.size()]);
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

    Draws& m_draws;
    std::size_t m_end;
    bool m_ahead;
    ChunkStorage m_storage;
    std::vector<Chunk> m_chunks;
    std::size_t m_made = SIZE_MAX;  // without the helper: the chunk in the buffer
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_produced = 0;  // chunks made
    std::size_t m_reading = 0;   // the chunk being read; those before it are done with
    bool m_stop = false;
    std::exception_ptr m_failure;
    std::thread m_helper;  // last: started once everything it uses is in place
};

}  // namespace

struct ComponentPass::Work {
    Work(const ChannelComponents& c, double drift, const SampleGrid& grid, std::size_t n,
         std::size_t end)
        : time_terms(c, grid, n),
          grid(grid),
          drift(drift),
          n(n),
          end(std::min(end, n)),
          draws(c, grid, n),
          ahead(draws, this->end) {}

    BaselineTimeTerms time_terms;
    SampleGrid grid;
    double drift;
    std::size_t n;
    std::size_t end;
    Draws draws;
    DrawsAhead ahead;  // last: its thread may start at once
};

ComponentPass::ComponentPass(const ChannelComponents& components, double drift,
                             const SampleGrid& grid, std::size_t n, std::size_t end)
    : m_work(std::make_unique<Work>(components, drift, grid, n, end)) {}

ComponentPass::~ComponentPass() = default;

void ComponentPass::AddTo(Signal4& signal, std::span<const IndexRange> ranges,
                          std::vector<double>* baseline, std::vector<double>* noise) {
    Work& w = *m_work;
    if (baseline) baseline->assign(w.n, 0.0);
    if (noise) noise->assign(w.n, 0.0);
    std::optional<WanderStream>& wander = w.draws.Wander();
    std::array<double, kComponentBlock> block;  // the baseline of one block
    float* out = signal.samples.data();
    auto range = ranges.begin();
    for (std::size_t first = 0; first < w.end; first += kComponentBlock) {
        const std::size_t count = std::min(kComponentBlock, w.end - first);
        const DrawsAhead::Chunk& chunk = w.ahead.Get(first / kChunk);
        const double* extra = chunk.noise + first % kChunk;
        double* base = block.data();
        w.time_terms.Fill(base, first, count);
        if (wander) wander->Walk(base, chunk.wander_deviates + first % kChunk, count);
        AddDriftTerms(base, first, count, w.grid, w.drift);
        if (baseline) std::copy(base, base + count, baseline->begin() + first);
        if (noise) std::copy(extra, extra + count, noise->begin() + first);
        const std::size_t last = first + count;
        for (; range != ranges.end() && range->first < last; ++range) {
            const std::size_t from = std::max(first, range->first);
            const std::size_t to = std::min(last, range->last);
            if (from < to)
                AddToSamples(out + from, base + (from - first), extra + (from - first), to - from);
            if (range->last > last) break;
        }
    }
}

void AddComponentsWithin(Signal4& signal, double drift, const ChannelComponents& components,
                         std::span<const IndexRange> ranges, std::vector<double>* baseline,
                         std::vector<double>* noise) {
    const bool keep = baseline != nullptr || noise != nullptr;
    ComponentPass(components, drift, signal.Grid(), signal.Size(),
                  keep ? signal.Size() : (ranges.empty() ? 0 : ranges.back().last))
        .AddTo(signal, ranges, baseline, noise);
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
