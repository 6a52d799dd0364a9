#include "FiniteCheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <utility>

namespace {

using StoredReal = std::pair<std::string_view, double Peak4::*>;
constexpr std::array<StoredReal, 9> kStoredReals{{
    {"front", &Peak4::front},
    {"back", &Peak4::back},
    {"time", &Peak4::time},
    {"area", &Peak4::area},
    {"height", &Peak4::height},
    {"concent", &Peak4::concent},
    {"front_base_height", &Peak4::front_base_height},
    {"back_base_height", &Peak4::back_base_height},
    {"index", &Peak4::index},
}};

using SynthesisReal = std::pair<std::string_view, double GenPeak4::*>;
constexpr std::array<SynthesisReal, 5> kSynthesisReals{{
    {"width", &GenPeak4::width},
    {"window_front", &GenPeak4::window_front},
    {"window_back", &GenPeak4::window_back},
    {"window_front_height", &GenPeak4::window_front_height},
    {"window_back_height", &GenPeak4::window_back_height},
}};

template <std::size_t N, class Peak, class Field>
std::optional<std::string_view> FirstNonFinite(
    const Peak& peak, const std::array<std::pair<std::string_view, Field>, N>& fields) {
    for (const auto& [key, member] : fields)
        if (!std::isfinite(peak.*member)) return key;
    return std::nullopt;
}

template <class Peak>
std::optional<NonFiniteValue> FindIn(const Signal4& signal, std::span<const Peak> peaks) {
    const auto& s = signal.samples;
    const auto bad = std::find_if(s.begin(), s.end(), [](float v) { return !std::isfinite(v); });
    if (bad != s.end()) return NonFiniteValue{static_cast<std::size_t>(bad - s.begin()), 0, {}};
    for (std::size_t p = 0; p < peaks.size(); ++p) {
        std::optional<std::string_view> key = FirstNonFinite(peaks[p], kStoredReals);
        if constexpr (std::is_same_v<Peak, GenPeak4>)
            if (!key) key = FirstNonFinite(peaks[p], kSynthesisReals);
        if (key) return NonFiniteValue{std::nullopt, p, *key};
    }
    return std::nullopt;
}

}  // namespace

std::optional<NonFiniteValue> FindNonFiniteValue(const Signal4& signal,
                                                 std::span<const Peak4> peaks) {
    return FindIn(signal, peaks);
}

std::optional<NonFiniteValue> FindNonFiniteValue(const Signal4& signal,
                                                 std::span<const GenPeak4> peaks) {
    return FindIn(signal, peaks);
}
