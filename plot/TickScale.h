#pragma once

#include <string>

// Tick arithmetic of one axis: nice steps of 1, 2, 2.5, 3, 5 or 10 times a power of ten, the
// first and last tick, and the padding of degenerate data ranges.

struct TickScale {
    double step = 1.0;
    double first = 0.0;
    double last = 0.0;
};

// Chooses a step so that ticks lie at least `spacing_px` apart on an axis `length_px` long and
// finds the first and last tick. On an automatic axis a range end lying less than half a step
// beyond a tick snaps outward onto it (min and max are then changed); a fixed axis keeps its
// ends and takes the ticks inside them, with a tolerance of a hundredth of a step.
//
// A span that is zero, negative or not finite, or a non-positive length or spacing, has no
// sensible step: the step keeps `fallback_step` (made positive and finite), the range is left
// alone and the result holds no tick (last < first).
TickScale ComputeTicks(double& min, double& max, int length_px, double spacing_px, bool automatic,
                       double fallback_step);

// Multiplier of the power of ten for a mantissa in [1, 10).
double StepMultiplier(double mantissa);

// A range narrower than a 10^-digits fraction of its largest magnitude is widened to that
// width about its midpoint; an empty one (min == max) becomes value +- 0.5 * 10^-digits.
void PadDataRange(double& min, double& max, int digits);

// "%.10g" in the C locale, whatever the process locale is.
std::string FormatTickLabel(double value);

// Walks the ticks first + i * step, i = 0, 1, ..., while the value is below last + step / 2 (so
// a last tick a rounding error short of `last` is still reached). Each tick is computed from
// `first` afresh, never by adding the step again and again, and one within a millionth of a step
// of zero is exactly zero: rounding must not label a zero tick "-2.775557562e-17". Stops early if
// the next tick is not above the current one or after kMaxTicks, so a step tiny against the values
// cannot hang a paint.
class TickWalk {
public:
    static constexpr int kMaxTicks = 10000;
    explicit TickWalk(const TickScale& scale);
    bool Valid() const { return m_count < kMaxTicks && m_value < m_end; }
    double Value() const { return m_value; }
    void Next();

private:
    double TickAt(int i) const;

    double m_first;
    double m_step;
    double m_end;
    double m_value;
    int m_count = 0;
};
