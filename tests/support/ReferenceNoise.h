#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

#include "synth/Signal4.h"

// Noise as the straightforward evaluation gives it: std::mt19937, the polar method in double with
// std::log and std::sqrt, the deviates added pair by pair. The program's noise must agree with it
// to within one unit in the last place of every float sample.
class ReferenceNoise {
public:
    explicit ReferenceNoise(std::uint32_t seed) : m_words(seed) {}

    std::pair<double, double> NextNormalPair() {
        double r1 = 0.0;
        double r2 = 0.0;
        double s = 0.0;
        do {
            r1 = 2.0 * NextUniform() - 1.0;
            r2 = 2.0 * NextUniform() - 1.0;
            s = r1 * r1 + r2 * r2;
        } while (!(s < 1.0 && r1 != 0.0 && r2 != 0.0));
        // No scaled branch: s is at least 2^-106 (neither coordinate is below 2^-53), so the direct
        // formula stays accurate down to the smallest point.
        const double f = std::sqrt(-2.0 * std::log(s) / s);
        return {f * r1, f * r2};
    }

    void AddNoise(Signal4& signal, double amplitude) {
        if (!(amplitude > 0.0)) return;
        for (std::size_t i = 0; i < signal.samples.size(); i += 2) {
            const auto [z1, z2] = NextNormalPair();
            float* sample = &signal.samples[i];
            sample[0] = static_cast<float>((z1 * amplitude + 0.0) + sample[0]);
            if (i + 1 < signal.samples.size())
                sample[1] = static_cast<float>((z2 * amplitude + 0.0) + sample[1]);
        }
    }

    std::uint32_t NextWord() { return static_cast<std::uint32_t>(m_words()); }

private:
    double NextUniform() {
        const std::uint64_t a = m_words();
        const std::uint64_t b = m_words();
        return static_cast<double>((b << 21) + (a >> 11)) * 0x1p-53;
    }

    std::mt19937 m_words;
};
