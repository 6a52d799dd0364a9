#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "Mt19937.h"
#include "PinkFilter.h"
#include "Signal4.h"
#include "SignalComponents.h"

// The random components, each drawing from an MT19937 of its own seeded with ComponentSeed, from
// the first sample on, a block of samples after the other. Normal deviates are those of the white
// noise's polar method, pair after pair (DrawNormalDeviates), a uniform number taking 53 bits from
// two words. Blocks have even lengths but for the last, so that the pairs run on as in one draw.
inline constexpr std::size_t kComponentBlock = 4096;

// The wander: one deviate z_i per sample; sample i >= 1 is w_(i-1) + wander sqrt(step) z_(i-1),
// w_0 = 0.
// Its deviates may be drawn on one thread and walked on another.
class WanderStream {
public:
    WanderStream(const ChannelComponents& components, const SampleGrid& grid);
    // The deviates of the next `count` samples.
    void Draw(double* deviates, std::size_t count);
    // out[j] += the walk at the next sample, for j < count, given their deviates from Draw.
    void Walk(double* out, const double* deviates, std::size_t count);
    // Both.
    void Add(double* out, std::size_t count);

private:
    Mt19937 m_words;
    double m_scale;
    double m_walk = 0.0;
    std::array<double, kComponentBlock> m_deviates{};
};

// The pink noise: kPinkWarmUp deviates through the PinkFilter, then one per sample, its output y
// scaled by pink / sqrt(kPinkUnitVariance). The warm-up is left to the first Add, so that it runs
// on the thread that draws.
class PinkStream {
public:
    explicit PinkStream(const ChannelComponents& components);
    void Add(double* out, std::size_t count);

private:
    void WarmUp();

    Mt19937 m_words;
    double m_scale;
    PinkFilter m_filter;
    bool m_warm = false;
    std::array<double, kComponentBlock> m_deviates{};
};

// The spikes: per spike a gap (a uniform u; the spike falls -ln(1 - u) / rate minutes after the
// previous one, the first after the start), a height (a uniform u: min + u (max - min)) and a sign
// (the top bit of one word: negative when set), until a spike falls at or beyond sample n. A spike
// s minutes after the start goes to sample floor(s / step); spikes in one sample add.
class SpikeStream {
public:
    SpikeStream(const ChannelComponents& components, const SampleGrid& grid, std::size_t n);
    // out[j] += the spikes of sample first + j, for j < count.
    void Add(double* out, std::size_t first, std::size_t count);

private:
    struct Spike {
        std::size_t index;
        double height;
    };
    void Advance();

    Mt19937 m_words;
    SpikeTrain m_train;
    double m_step;
    std::size_t m_n;
    double m_time = 0.0;  // minutes after the start
    std::optional<Spike> m_next;
};
