#pragma once

#include <cmath>

// The ends of a bracket of a root, with the function's values there.
struct RootBracket {
    double lo = 0.0;
    double hi = 0.0;
    double f_lo = 0.0;
    double f_hi = 0.0;
    bool found = false;  // a point where the function is within `enough` of 0: lo == hi
};

// Narrows [lo, hi], where f has the values f_lo and f_hi of opposite signs, onto a root: regula
// falsi with the Illinois modification (an end that stays put twice has its value halved), which
// is as sure as bisection and close to the secant method's speed, with bisection whenever the
// secant point is not strictly inside. It ends when f is within `enough` of 0, when the bracket is
// no wider than `tolerance`, when no double lies between its ends (f may jump there), or after
// 200 steps. f need not be continuous: at a jump the bracket closes on the jump.
template <class F>
RootBracket NarrowRootBracket(F f, double lo, double hi, double f_lo, double f_hi, double tolerance,
                              double enough = 0.0) {
    if (f_lo == 0.0) return {lo, lo, f_lo, f_lo, true};
    if (f_hi == 0.0) return {hi, hi, f_hi, f_hi, true};
    double weight_lo = f_lo;
    double weight_hi = f_hi;
    int kept = 0;  // which end stayed put at the last step: -1 lo, +1 hi
    for (int i = 0; i < 200 && hi - lo > tolerance; ++i) {
        double x = (lo * weight_hi - hi * weight_lo) / (weight_hi - weight_lo);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        if (!(x > lo && x < hi)) break;
        const double f_x = f(x);
        if (std::fabs(f_x) <= enough) return {x, x, f_x, f_x, true};
        if ((f_x < 0.0) == (weight_lo < 0.0)) {
            lo = x;
            f_lo = weight_lo = f_x;
            if (kept == 1) weight_hi *= 0.5;
            kept = 1;
        } else {
            hi = x;
            f_hi = weight_hi = f_x;
            if (kept == -1) weight_lo *= 0.5;
            kept = -1;
        }
    }
    return {lo, hi, f_lo, f_hi, false};
}

// A root of f, continuous with f(lo) and f(hi) of opposite signs: the point met within `enough`
// of 0, or the middle of the final bracket.
template <class F>
double FindRoot(F f, double lo, double hi, double tolerance, double enough = 0.0) {
    const double f_lo = f(lo);
    const double f_hi = f(hi);
    const RootBracket root = NarrowRootBracket(f, lo, hi, f_lo, f_hi, tolerance, enough);
    return root.found ? root.lo : 0.5 * (root.lo + root.hi);
}
