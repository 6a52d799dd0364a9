#include "NoiseEngine.h"

#include <algorithm>
#include <cmath>

NoiseEngine& NoiseEngine::Instance() {
    static NoiseEngine engine;
    return engine;
}

double NoiseEngine::NextUniform() {
    const std::uint64_t a = NextWord();
    const std::uint64_t b = NextWord();
    const std::uint64_t x = (b << 21) + (a >> 11);  // 53 bits
    return static_cast<double>(x) * 0x1p-53;
}

std::pair<double, double> PolarTransform(double r1, double r2) {
    double s = r1 * r1 + r2 * r2;
    double f = 0.0;
    if (s > 1e-4) {
        f = std::sqrt(-2.0 * std::log(s) / s);
    } else {
        // ln(s) of the scaled point is corrected by e*ln(4), since s shrank by 2^(2e).
        constexpr double kLn4 = 1.3862943611198906;
        const int e = std::ilogb(std::max(std::fabs(r1), std::fabs(r2)));
        r1 = std::ldexp(r1, -e);
        r2 = std::ldexp(r2, -e);
        s = r1 * r1 + r2 * r2;
        f = std::sqrt(-2.0 * (std::log(s) + e * kLn4) / s);
    }
    return {f * r1, f * r2};
}

std::pair<double, double> NoiseEngine::NextNormalPair() {
    double r1 = 0.0;
    double r2 = 0.0;
    double s = 0.0;
    do {
        r1 = 2.0 * NextUniform() - 1.0;
        r2 = 2.0 * NextUniform() - 1.0;
        s = r1 * r1 + r2 * r2;
    } while (!(s < 1.0 && r1 != 0.0 && r2 != 0.0));
    return PolarTransform(r1, r2);
}

void AddNoise(Signal4& signal, double amplitude) {
    if (!(amplitude > 0.0)) return;
    NoiseEngine& engine = NoiseEngine::Instance();
    bool stored = false;
    double second = 0.0;
    for (float& sample : signal.samples) {
        double z;
        if (stored) {
            z = second;
            stored = false;
        } else {
            const auto pair = engine.NextNormalPair();
            z = pair.first;
            second = pair.second;
            stored = true;
        }
        sample = static_cast<float>((z * amplitude + 0.0) + sample);
    }
}
