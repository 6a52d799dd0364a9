#include "ComponentStreams.h"

#include <cmath>
#include <cstdint>

#include "NoiseEngine.h"
#include "ScalarMath.h"

namespace {

double NextUniform(Mt19937& words) {
    const std::uint64_t a = words.Next();
    const std::uint64_t b = words.Next();
    return static_cast<double>((b << 21) + (a >> 11)) * 0x1p-53;
}

}  // namespace

WanderStream::WanderStream(const ChannelComponents& c, const SampleGrid& grid)
    : m_words(ComponentSeed(c.seed, c.channel, ComponentStream::Wander)),
      m_scale(c.wander * std::sqrt(grid.step)) {}

void WanderStream::Draw(double* deviates, std::size_t count) {
    DrawNormalDeviates(m_words, deviates, count);
}

void WanderStream::Walk(double* out, const double* deviates, std::size_t count) {
    // A local walk, which the compiler can keep in a register: `out` might alias a member.
    double walk = m_walk;
    for (std::size_t j = 0; j < count; ++j) {
        out[j] += walk;
        walk += m_scale * deviates[j];
    }
    m_walk = walk;
}

void WanderStream::Add(double* out, std::size_t count) {
    Draw(m_deviates.data(), count);
    Walk(out, m_deviates.data(), count);
}

PinkStream::PinkStream(const ChannelComponents& c)
    : m_words(ComponentSeed(c.seed, c.channel, ComponentStream::Pink)),
      m_scale(c.pink / std::sqrt(kPinkUnitVariance)) {}

void PinkStream::WarmUp() {
    static_assert(kPinkWarmUp % kComponentBlock == 0);
    std::array<double, kComponentBlock> discarded{};
    for (std::size_t done = 0; done < kPinkWarmUp; done += kComponentBlock) {
        DrawNormalDeviates(m_words, m_deviates.data(), kComponentBlock);
        m_filter.Add(m_deviates.data(), discarded.data(), kComponentBlock, 0.0);
    }
    m_warm = true;
}

void PinkStream::Add(double* out, std::size_t count) {
    if (!m_warm) WarmUp();
    DrawNormalDeviates(m_words, m_deviates.data(), count);
    m_filter.Add(m_deviates.data(), out, count, m_scale);
}

SpikeStream::SpikeStream(const ChannelComponents& c, const SampleGrid& grid, std::size_t n)
    : m_words(ComponentSeed(c.seed, c.channel, ComponentStream::Spikes)),
      m_train(c.spikes.value_or(SpikeTrain{})),
      m_step(grid.step),
      m_n(n) {
    Advance();
}

void SpikeStream::Add(double* out, std::size_t first, std::size_t count) {
    while (m_next && m_next->index < first + count) {
        out[m_next->index - first] += m_next->height;
        Advance();
    }
}

void SpikeStream::Advance() {
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
