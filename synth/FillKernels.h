#pragma once

#include <cstddef>

#include "Signal4.h"
#include "TailShape.h"

// The inner loops of FillSignal, several samples at a time on the widest vectors the processor
// offers, with the same bits on every processor.

// Adds to sums[j] the peak's term at the time of sample first + j, for j < count: the same value
// as sums[j] + GaussPeak(grid.TimeAt(first + j), height, width, time). Terms too small to change a
// sum are not evaluated. The peak's values and the grid must be finite, the width non-zero.
void AddGaussTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                   double height, double width, double time);

// The same for a tailing or fronting peak (not Gaussian, width > 0): sums[j] + TailedPeak(...).
void AddTailedTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                    double height, double width, const TailShape& shape, double time);

// out[j] = the float nearest to sums[j], for j < count.
void RoundToFloats(const double* sums, float* out, std::size_t count);
