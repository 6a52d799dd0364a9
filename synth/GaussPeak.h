#pragma once

// The value at time t of a Gaussian peak of the given height centred at `time`, which has fallen
// to 1/e of its height at `width` from the centre: e^(-((t - time)/width)^2) * height, the
// exponential being this program's own (PortableMath-inl.h). The order of the operations is part
// of the result: signals must be bit-identical from one build and one machine to the next.
double GaussPeak(double t, double height, double width, double time);

// A term is exactly 0.0 in double precision once ((t - time)/width)^2 exceeds 746 (exp of
// anything below about -745.1 underflows to zero). Beyond this many widths from the centre a peak
// therefore adds nothing; the margin over sqrt(746) = 27.31 absorbs rounding.
inline constexpr double kGaussZeroReach = 27.5;
