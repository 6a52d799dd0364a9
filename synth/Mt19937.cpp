// The twist and the tempering of MT19937, compiled once per dispatch target. Integer operations
// only, so every target gives the same words.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "synth/Mt19937.cpp"
#include "hwy/foreach_target.h"  // must come before highway.h

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "hwy/highway.h"
#include "synth/Mt19937.h"

HWY_BEFORE_NAMESPACE();
namespace mt19937_words {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

constexpr std::size_t kShift = 397;  // the twist takes its third word this far ahead
constexpr std::uint32_t kMatrix = 0x9908b0dfu;
constexpr std::uint32_t kUpperMask = 0x80000000u;

// state[i] = state[i + offset] ^ twist(state[i], state[i + 1]) for i in [begin, end), lanes at a
// time. Every word read is either ahead of the span (still the old value) or at least 227 words
// behind it (already the new one), as the sequential definition reads them.
template <class D>
HWY_INLINE void TwistSpan(D d, std::uint32_t* state, std::size_t& i, std::size_t end,
                          std::ptrdiff_t offset) {
    const std::size_t lanes = hn::Lanes(d);
    const auto upper = hn::Set(d, kUpperMask);
    const auto one = hn::Set(d, 1u);
    const auto matrix = hn::Set(d, kMatrix);
    for (; i + lanes <= end; i += lanes) {
        const auto y = hn::Or(hn::And(hn::LoadU(d, state + i), upper),
                              hn::AndNot(upper, hn::LoadU(d, state + i + 1)));
        const auto odd = hn::Eq(hn::And(y, one), one);
        const auto mixed = hn::Xor(hn::ShiftRight<1>(y), hn::IfThenElseZero(odd, matrix));
        hn::StoreU(hn::Xor(hn::LoadU(d, state + i + offset), mixed), d, state + i);
    }
}

void TwistRegion(std::uint32_t* state, std::size_t begin, std::size_t end, std::ptrdiff_t offset) {
    std::size_t i = begin;
    TwistSpan(hn::ScalableTag<std::uint32_t>(), state, i, end, offset);
    TwistSpan(hn::CappedTag<std::uint32_t, 1>(), state, i, end, offset);
}

void TwistLanes(std::uint32_t* state) {
    constexpr std::size_t n = Mt19937::kStateWords;
    constexpr auto ahead = static_cast<std::ptrdiff_t>(kShift);
    constexpr auto behind = ahead - static_cast<std::ptrdiff_t>(n);
    TwistRegion(state, 0, n - kShift, ahead);
    TwistRegion(state, n - kShift, n - 1, behind);
    // The last word pairs with the new first word.
    const std::uint32_t y = (state[n - 1] & kUpperMask) | (state[0] & ~kUpperMask);
    state[n - 1] = state[kShift - 1] ^ (y >> 1) ^ ((y & 1u) != 0 ? kMatrix : 0u);
}

template <class D>
HWY_INLINE void TemperSpan(D d, const std::uint32_t* in, std::uint32_t* out, std::size_t& i,
                           std::size_t count) {
    const std::size_t lanes = hn::Lanes(d);
    const auto b = hn::Set(d, 0x9d2c5680u);
    const auto c = hn::Set(d, 0xefc60000u);
    for (; i + lanes <= count; i += lanes) {
        auto y = hn::LoadU(d, in + i);
        y = hn::Xor(y, hn::ShiftRight<11>(y));
        y = hn::Xor(y, hn::And(hn::ShiftLeft<7>(y), b));
        y = hn::Xor(y, hn::And(hn::ShiftLeft<15>(y), c));
        y = hn::Xor(y, hn::ShiftRight<18>(y));
        hn::StoreU(y, d, out + i);
    }
}

void TemperLanes(const std::uint32_t* in, std::uint32_t* out, std::size_t count) {
    std::size_t i = 0;
    TemperSpan(hn::ScalableTag<std::uint32_t>(), in, out, i, count);
    TemperSpan(hn::CappedTag<std::uint32_t, 1>(), in, out, i, count);
}

}  // namespace HWY_NAMESPACE
}  // namespace mt19937_words
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace mt19937_words {
HWY_EXPORT(TwistLanes);
HWY_EXPORT(TemperLanes);
}  // namespace mt19937_words

void Mt19937::Seed(std::uint32_t seed) {
    m_state[0] = seed;
    for (std::size_t i = 1; i < kStateWords; ++i) {
        const std::uint32_t previous = m_state[i - 1];
        m_state[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
    }
    m_next = kStateWords;
}

std::uint32_t Mt19937::Next() {
    std::uint32_t word = 0;
    Generate(&word, 1);
    return word;
}

void Mt19937::Generate(std::uint32_t* out, std::size_t count) {
    using namespace mt19937_words;
    while (count > 0) {
        if (m_next == kStateWords) {
            HWY_DYNAMIC_DISPATCH(TwistLanes)(m_state.data());
            m_next = 0;
        }
        const std::size_t taken = std::min(count, kStateWords - m_next);
        HWY_DYNAMIC_DISPATCH(TemperLanes)(m_state.data() + m_next, out, taken);
        m_next += taken;
        out += taken;
        count -= taken;
    }
}
#endif  // HWY_ONCE
