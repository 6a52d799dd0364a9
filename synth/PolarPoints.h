#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

// The steps of the polar method, for noise drawn in bulk. Each gives, lane by lane, the bits of the
// one-at-a-time definition (NoiseEngine::NextNormalPair and PolarTransform) on every dispatch
// target.

// The largest magnitude of a deviate the polar method gives here, with margin: a point's
// coordinates are multiples of 2^-52 and neither is 0, so s = r1^2 + r2^2 >= 2^-103, and
// |z| = |r| sqrt(-2 ln s / s) <= sqrt(-2 ln s) <= sqrt(206 ln 2) = 11.95. Every bound on what noise
// of a given standard deviation can add to a sample is drawn from it.
inline constexpr double kLargestDeviate = 12.5;

// Extra elements the output arrays of ScreenPolarPoints must have beyond `attempts`: whole vectors
// are stored.
inline constexpr std::size_t kPolarPadding = 16;

// Turns `attempts` groups of four generator words (a1, b1, a2, b2) into points r = 2u - 1, u being
// the 53-bit uniform number (b << 21) + (a >> 11) scaled by 2^-53, and keeps, in order, the points
// the polar method accepts: s = r1^2 + r2^2 below 1, neither coordinate 0. Returns how many were
// kept; r1, r2 and s receive them.
std::size_t ScreenPolarPoints(const std::uint32_t* words, std::size_t attempts, double* r1,
                              double* r2, double* s);

// How many of the `attempts` groups of four words the polar method accepts: what
// ScreenPolarPoints returns, without storing the points.
std::size_t CountPolarPoints(const std::uint32_t* words, std::size_t attempts);

// The deviates of `count` accepted points: z[2k] = f r1[k] and z[2k + 1] = f r2[k] with
// f = sqrt(-2 ln s[k] / s[k]), as PolarTransform gives them for s > 1e-4. Points with a smaller s
// take another route there, so their two entries are to be replaced.
void PolarDeviates(const double* r1, const double* r2, const double* s, double* z,
                   std::size_t count);

// samples[i] becomes the float nearest to (z[i] * amplitude + 0.0) + samples[i], computed in
// double, for i < count.
void AddScaledDeviates(float* samples, const double* z, std::size_t count, double amplitude);

// The polar method's transform of a point (r1, r2) strictly inside the unit circle, neither
// coordinate 0, into two standard normal deviates. Points very close to the centre are scaled
// up by a power of two first, so that r1^2 + r2^2 neither underflows nor loses precision.
std::pair<double, double> PolarTransform(double r1, double r2);
