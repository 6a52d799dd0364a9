#include "TickScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

double StepMultiplier(double mantissa) {
    if (mantissa > 7.5) return 10.0;
    if (mantissa > 3.5) return 5.0;
    if (mantissa > 2.6) return 3.0;
    if (mantissa > 2.4) return 2.5;
    if (mantissa > 1.5) return 2.0;
    return 1.0;
}

TickScale ComputeTicks(double& min, double& max, int length_px, double spacing_px, bool automatic,
                       double fallback_step) {
    TickScale t;
    const double raw = (max - min) * spacing_px / length_px;
    if (!(length_px > 0 && spacing_px > 0 && std::isfinite(raw) && raw > 0)) {
        t.step = std::isfinite(fallback_step) && fallback_step > 0 ? fallback_step : 1.0;
        t.first = 0.0;
        t.last = -t.step;
        return t;
    }
    const int p = static_cast<int>(std::floor(std::log10(raw)));
    const double m = raw * std::pow(10.0, -p);
    t.step = std::pow(10.0, p) * StepMultiplier(m);

    const double g = std::floor(min / t.step);
    if (min - g * t.step < t.step / 2 && automatic) {
        t.first = g * t.step;
        min = t.first;
    } else {
        t.first = std::ceil(min / t.step - 0.01) * t.step;
    }
    const double h = std::ceil(max / t.step);
    if (h * t.step - max < t.step / 2 && automatic) {
        t.last = h * t.step;
        max = t.last;
    } else {
        t.last = std::floor(max / t.step + 0.01) * t.step;
    }
    return t;
}

void PadDataRange(double& min, double& max, int digits) {
    const double unit = std::pow(10.0, digits);
    if (max != min) {
        const double d = std::max(std::fabs(max), std::fabs(min)) / unit;
        if (max - min < d) {
            const double c = (max + min) / 2;
            min = c - d / 2;
            max = c + d / 2;
        }
    } else {
        min -= 0.5 / unit;
        max += 0.5 / unit;
    }
}

std::string FormatTickLabel(double value) {
    // A tick at zero reached from below is -0.0, which would read "-0".
    if (value == 0.0) value = 0.0;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 10);
    return std::string(buf, r.ptr);
}

TickWalk::TickWalk(const TickScale& scale)
    : m_first(scale.first),
      m_step(scale.step),
      m_end(scale.last + scale.step / 2),
      m_value(TickAt(0)) {}

double TickWalk::TickAt(int i) const {
    const double value = m_first + i * m_step;
    return std::fabs(value) < m_step * 1e-6 ? 0.0 : value;
}

void TickWalk::Next() {
    const double next = TickAt(m_count + 1);
    ++m_count;
    if (!(next > m_value)) m_count = kMaxTicks;
    m_value = next;
}
