#pragma once

#include <cstddef>

#include "Signal4.h"

// The loops of the channel components (Components.h): the terms of the baseline components that
// are functions of time alone, and the addition to the samples, written once on Highway vectors,
// with the same bits on every processor and on one lane. Each Add... adds to
// sums[j] the term at the time of sample first + j (start + index * step), for j < count; each
// ...At is that term at a time t.

// A rising step: height / (1 + e^-x) for x >= 0 and height e^x / (1 + e^x) below, with
// x = StepArgument; the caller takes the steps that have not begun or have fully risen.
void AddRisingStepTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                        double time, double height, double rate);
double RisingStepAt(double t, double time, double height, double rate);
// (t - time) * rate, and 0 at t == time (also for a sharp step, whose rate is infinite).
double StepArgument(double t, double time, double rate);

// amplitude * sin(2 pi (t * frequency + phase_turns)), frequency in turns per minute.
void AddSineTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                  double amplitude, double frequency, double phase_turns);
double SineAt(double t, double amplitude, double frequency, double phase_turns);

// sums[j] += value, for j < count.
void AddConstant(double* sums, std::size_t count, double value);

// height * e^(-t / time_constant) from t = 0 on, height before.
void AddSettleTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                    double height, double time_constant);
double SettleAt(double t, double height, double time_constant);

// t * drift.
void AddDriftTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                   double drift);

// samples[j] becomes the float nearest to (baseline[j] + noise[j]) + samples[j], computed in
// double, for j < count.
void AddToSamples(float* samples, const double* baseline, const double* noise, std::size_t count);
