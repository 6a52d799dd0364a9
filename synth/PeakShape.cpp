#include "PeakShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Apex {
    std::int64_t sample = 0;
    double position = 0.0;  // in samples, between the sample's neighbours
    double height = 0.0;
};

std::optional<Apex> FindApex(const std::vector<float>& s, double index, double reach) {
    const std::int64_t n = static_cast<std::int64_t>(s.size());
    if (n == 0 || !std::isfinite(index)) return std::nullopt;
    std::int64_t c = static_cast<std::int64_t>(std::llround(std::clamp(index, 0.0, double(n - 1))));
    while (c + 1 < n && s[c + 1] > s[c]) ++c;
    while (c > 0 && s[c - 1] > s[c]) --c;
    if (!(std::fabs(static_cast<double>(c) - index) <= reach)) return std::nullopt;
    Apex apex{c, static_cast<double>(c), s[c]};
    if (c > 0 && c + 1 < n) {
        const double left = s[c - 1];
        const double right = s[c + 1];
        const double curvature = left - 2.0 * apex.height + right;
        if (curvature < 0.0) {
            const double shift = 0.5 * (left - right) / curvature;
            apex.position += shift;
            apex.height -= 0.25 * (left - right) * shift;
        }
    }
    if (!(apex.height > 0.0)) return std::nullopt;
    return apex;
}

// The distance, in samples, from the apex to where the signal falls to `level`, walking in
// `direction` (-1 or +1); nullopt when it rises again or the signal ends above the level first.
std::optional<double> DistanceTo(const std::vector<float>& s, const Apex& apex, double level,
                                 int direction) {
    const std::int64_t n = static_cast<std::int64_t>(s.size());
    std::int64_t i = apex.sample;
    while (true) {
        const std::int64_t next = i + direction;
        if (next < 0 || next >= n) return std::nullopt;
        if (s[next] <= level) {
            const double crossing =
                static_cast<double>(i) + direction * (s[i] - level) / (double(s[i]) - s[next]);
            return std::fabs(crossing - apex.position);
        }
        if (s[next] > s[i]) return std::nullopt;
        i = next;
    }
}

}  // namespace

PeakShapeMeasure MeasurePeakShape(const Signal4& clean, double time, double width) {
    const SampleGrid grid = clean.Grid();
    PeakShapeMeasure measure{kNaN, kNaN};
    if (!(grid.step > 0.0)) return measure;
    const double sigma = width * 0.70710678118654752440;
    if (!(sigma / grid.step >= kMinSamplesPerSigma)) return measure;
    const std::optional<Apex> apex =
        FindApex(clean.samples, (time - grid.start) / grid.step, width / grid.step + 1.0);
    if (!apex) return measure;
    auto ratio = [&](double share, auto of) {
        const auto front = DistanceTo(clean.samples, *apex, share * apex->height, -1);
        const auto back = DistanceTo(clean.samples, *apex, share * apex->height, +1);
        return front && back && *front > 0.0 ? of(*front, *back) : kNaN;
    };
    measure.tailing = ratio(0.05, [](double a, double b) { return (a + b) / (2.0 * a); });
    measure.asymmetry = ratio(0.10, [](double a, double b) { return b / a; });
    return measure;
}
