#pragma once

#include <array>
#include <cstddef>

// 1/f noise from white deviates: six first-order low-pass sections in parallel, their poles spread
// over the decades from about 1/5,500 of the sampling rate up, plus a direct and a once-delayed
// share of the deviate that shape the top octaves. Its power spectrum lies within 0.06 dB of
// 1/f from 1/4,800 of the sampling rate to half of it, whatever that rate.
//
// Each output is, in double and in this order,
//   b_k <- pole_k * b_k + gain_k * w   for k = 0 .. 5,
//   y = b_0 + b_1 + b_2 + b_3 + b_4 + b_5 + kDelayed * w_previous + kDirect * w.
class PinkFilter {
public:
    static constexpr std::array<double, 6> kPoles = {0.99886, 0.99332, 0.96900,
                                                     0.86650, 0.55000, -0.7616};
    static constexpr std::array<double, 6> kGains = {0.0555179, 0.0750759, 0.1538520,
                                                     0.3104856, 0.5329522, -0.0168980};
    static constexpr double kDirect = 0.5362;
    static constexpr double kDelayed = 0.115926;

    // out[j] += scale * y_j for the outputs y_j of white[j], j < count.
    void Add(const double* white, double* out, std::size_t count, double scale) {
        // The state in locals, which the compiler keeps in registers: `out` might alias it.
        double b0 = m_sections[0], b1 = m_sections[1], b2 = m_sections[2];
        double b3 = m_sections[3], b4 = m_sections[4], b5 = m_sections[5];
        double delayed = m_delayed;
        for (std::size_t j = 0; j < count; ++j) {
            const double w = white[j];
            b0 = kPoles[0] * b0 + kGains[0] * w;
            b1 = kPoles[1] * b1 + kGains[1] * w;
            b2 = kPoles[2] * b2 + kGains[2] * w;
            b3 = kPoles[3] * b3 + kGains[3] * w;
            b4 = kPoles[4] * b4 + kGains[4] * w;
            b5 = kPoles[5] * b5 + kGains[5] * w;
            const double y = b0 + b1 + b2 + b3 + b4 + b5 + delayed + kDirect * w;
            delayed = kDelayed * w;
            out[j] += scale * y;
        }
        m_sections = {b0, b1, b2, b3, b4, b5};
        m_delayed = delayed;
    }

private:
    std::array<double, 6> m_sections{};
    double m_delayed = 0.0;
};

// The variance of the filter's output, once settled, for white input of unit variance: the sum of
// the squares of its impulse response, in closed form.
inline constexpr double kPinkUnitVariance = [] {
    const auto& a = PinkFilter::kPoles;
    const auto& g = PinkFilter::kGains;
    double variance =
        PinkFilter::kDirect * PinkFilter::kDirect + PinkFilter::kDelayed * PinkFilter::kDelayed;
    for (std::size_t i = 0; i < a.size(); ++i) {
        variance += 2.0 * (PinkFilter::kDirect + PinkFilter::kDelayed * a[i]) * g[i];
        for (std::size_t j = 0; j < a.size(); ++j) variance += g[i] * g[j] / (1.0 - a[i] * a[j]);
    }
    return variance;
}();

// The sum of the magnitudes of the impulse response, at most: the largest output over the largest
// input magnitude.
inline constexpr double kPinkGainBound = [] {
    auto magnitude = [](double x) { return x < 0.0 ? -x : x; };
    double sum = magnitude(PinkFilter::kDirect) + magnitude(PinkFilter::kDelayed);
    for (std::size_t i = 0; i < PinkFilter::kPoles.size(); ++i)
        sum += magnitude(PinkFilter::kGains[i]) / (1.0 - magnitude(PinkFilter::kPoles[i]));
    return sum;
}();

// Deviates run through the filter before the first sample, so that the first samples have the
// spread of the others: the slowest section's memory is then below 1e-4 of its start.
inline constexpr std::size_t kPinkWarmUp = 8192;
