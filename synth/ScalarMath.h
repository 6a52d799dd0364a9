#pragma once

// The program's own exponential and logarithm (PortableMath-inl.h) on one value, for the scalar
// computations whose results must have the same bits on every machine: tailing peaks, and the
// log-uniform draws of batch recipes. The C library's functions may differ in the last bit from
// one processor variant to the next.

// e^x for x <= 0, exactly 0 below -745.14.
double ExpOfNonPositiveScalar(double x);
// ln x for positive normal finite x.
double LogOfPositiveScalar(double x);
