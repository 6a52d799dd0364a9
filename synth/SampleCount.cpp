#include "SampleCount.h"

#include <cmath>

SampleCountResult ComputeSampleCount(double analysis_time, double sample_rate) {
    if (!std::isfinite(analysis_time) || analysis_time <= 0.0)
        return {0, SampleCountError::InvalidTime};
    if (!std::isfinite(sample_rate) || sample_rate <= 0.0)
        return {0, SampleCountError::InvalidRate};
    // The product of two finite numbers may still overflow to infinity; the comparison with the
    // limit catches that before any conversion to an integer.
    const double count = std::ceil(analysis_time * sample_rate);
    if (!(count <= static_cast<double>(kMaxSampleCount))) return {0, SampleCountError::TooMany};
    return {static_cast<std::size_t>(count), SampleCountError::None};
}

std::string DescribeSampleCountError(SampleCountError error) {
    switch (error) {
        case SampleCountError::None:
            return "no error";
        case SampleCountError::InvalidTime:
            return "the analysis time must be a positive number of minutes";
        case SampleCountError::InvalidRate:
            return "the sampling rate must be a positive number of samples per minute";
        case SampleCountError::TooMany:
            return "the analysis would need more than " + std::to_string(kMaxSampleCount) +
                   " samples per channel";
    }
    return "unknown error";
}

bool ResizeChecked(Signal4& signal, std::size_t n) {
    if (n > kMaxSampleCount) return false;
    signal.Resize(n);
    return true;
}
