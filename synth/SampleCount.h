#pragma once

#include <cstddef>
#include <string>

#include "Signal4.h"

// The most samples one channel may hold. 50 million 32-bit samples are 200 MB; eight channels,
// a width-fit trial copy and a document being saved stay within a few GB, comfortably inside a
// workstation's memory. It is also far below the 32-bit index range of the stored format.
// That is, for instance, 10 hours at 80,000 samples per minute.
inline constexpr std::size_t kMaxSampleCount = 50'000'000;

// The most samples one document may hold over all its channels: eight channels of the largest
// size (1.6 GB of samples).
inline constexpr std::size_t kMaxDocumentSampleCount = 8 * kMaxSampleCount;

enum class SampleCountError {
    None,
    InvalidTime,  // analysis time not a positive finite number
    InvalidRate,  // sampling rate not a positive finite number
    TooMany,      // more than kMaxSampleCount samples
};

struct SampleCountResult {
    std::size_t count = 0;
    SampleCountError error = SampleCountError::None;
    bool ok() const { return error == SampleCountError::None; }
};

// ceil(analysis_time * sample_rate), the number of samples of an analysis of that many minutes
// at that many samples per minute, refused when it would exceed kMaxSampleCount. This is the
// only way from what a user types to the size of a signal.
SampleCountResult ComputeSampleCount(double analysis_time, double sample_rate);

// A one-line English explanation of a refusal, for messages.
std::string DescribeSampleCountError(SampleCountError error);

// Resizes the signal to n samples (new samples 0) unless n exceeds kMaxSampleCount, in which case
// it leaves the signal as it was and returns false.
bool ResizeChecked(Signal4& signal, std::size_t n);
