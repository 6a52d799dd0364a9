#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// The time axis of a signal, read in one piece under the signal's guard.
struct SampleGrid {
    double start = 0.0;  // time of sample 0, minutes
    double step = 0.0;   // minutes between samples
    double TimeAt(std::size_t i) const { return start + static_cast<double>(i) * step; }
};

// The sampled signal of one channel: sample i is the signal, in millivolts, at start + i*step.
//
// `guard` is taken around every read of start, step and last_index and around every resize of
// samples. No operation that holds it calls another that takes it, so a plain mutex suffices.
// Sample values are written without it.
struct Signal4 {
    std::vector<float> samples;
    mutable std::mutex guard;
    double start = 0.0;
    double step = 0.0;
    // Index of the last sample that belongs to the analysis; negative means the last element.
    std::int32_t last_index = -1;

    Signal4() = default;
    // Copies `count` floats from `data` when both are given. Does not lock.
    Signal4(double step, double start, const float* data, std::size_t count);
    // Copies without locking the source.
    Signal4(const Signal4& other);
    Signal4(Signal4&& other) noexcept;
    Signal4& operator=(const Signal4& other);
    Signal4& operator=(Signal4&& other) noexcept;

    // Under this signal's guard: copies start, step, last_index and the samples of `source`.
    void Assign(const Signal4& source);
    // Under the guard; new samples are 0.
    void Resize(std::size_t n);
    // Both give memory back when the samples shrink to less than half of what they hold room
    // for: capacity() is then their number.
    std::size_t Size() const { return samples.size(); }

    SampleGrid Grid() const;
    double GetTime(std::int64_t i) const;
    // start + L*step, with L the last index that belongs to the analysis.
    double GetEndTime() const;
    // Index of the sample at or before t: 0 when step is 0, t is before start or t is NaN;
    // otherwise (t - start)/step truncated. Not clamped to the number of samples (it saturates
    // only far beyond any real signal), so callers check it before reading a sample.
    std::int64_t GetIndex(double t) const;
    // Linear interpolation between neighbouring samples; before the first or after the last
    // sample it extrapolates along the first or last pair. 0 with fewer than 2 samples.
    double GetValue(double t) const;
};
