#include "Signal4.h"

#include <algorithm>
#include <cmath>

namespace {

// Sets the size of `samples`, giving memory back when they shrink to less than half of what is
// reserved for them: a channel cut from a long run must not keep its gigabytes.
void SetSampleCount(std::vector<float>& samples, std::size_t n) {
    if (n < samples.capacity() / 2) {
        std::vector<float> fitted;
        fitted.reserve(n);
        fitted.assign(samples.begin(), samples.begin() + std::min(n, samples.size()));
        fitted.resize(n, 0.0f);
        samples.swap(fitted);
        return;
    }
    samples.resize(n, 0.0f);
}

}  // namespace

Signal4::Signal4(double step_, double start_, const float* data, std::size_t count)
    : start(start_), step(step_) {
    if (data != nullptr && count != 0) samples.assign(data, data + count);
}

Signal4::Signal4(const Signal4& other)
    : samples(other.samples), start(other.start), step(other.step), last_index(other.last_index) {}

Signal4::Signal4(Signal4&& other) noexcept
    : samples(std::move(other.samples)),
      start(other.start),
      step(other.step),
      last_index(other.last_index) {}

Signal4& Signal4::operator=(const Signal4& other) {
    if (this != &other) Assign(other);
    return *this;
}

Signal4& Signal4::operator=(Signal4&& other) noexcept {
    if (this != &other) {
        std::lock_guard lock(guard);
        start = other.start;
        step = other.step;
        last_index = other.last_index;
        samples = std::move(other.samples);
    }
    return *this;
}

void Signal4::Assign(const Signal4& source) {
    std::lock_guard lock(guard);
    start = source.start;
    step = source.step;
    last_index = source.last_index;
    SetSampleCount(samples, source.samples.size());
    std::copy(source.samples.begin(), source.samples.end(), samples.begin());
}

void Signal4::Resize(std::size_t n) {
    std::lock_guard lock(guard);
    SetSampleCount(samples, n);
}

SampleGrid Signal4::Grid() const {
    std::lock_guard lock(guard);
    return {start, step};
}

double Signal4::GetTime(std::int64_t i) const {
    std::lock_guard lock(guard);
    return start + static_cast<double>(i) * step;
}

double Signal4::GetEndTime() const {
    std::lock_guard lock(guard);
    const double last = last_index < 0 ? static_cast<double>(samples.size()) - 1.0
                                       : static_cast<double>(last_index);
    return start + last * step;
}

std::int64_t Signal4::GetIndex(double t) const {
    // Far beyond any signal this program can hold, yet safely inside the 64-bit range.
    constexpr double kSaturation = 4.0e18;
    SampleGrid grid = Grid();
    if (grid.step == 0.0 || t < grid.start) return 0;
    const double position = (t - grid.start) / grid.step;
    if (std::isnan(position)) return 0;
    return static_cast<std::int64_t>(std::clamp(position, -kSaturation, kSaturation));
}

double Signal4::GetValue(double t) const {
    const std::size_t n = samples.size();
    if (n < 2) return 0.0;
    const SampleGrid grid = Grid();
    const double k = std::floor((t - grid.start) / grid.step);
    // Before the first sample (or for NaN) the first pair, after the last the last pair.
    std::size_t a = 0;
    if (k >= static_cast<double>(n - 1))
        a = n - 2;
    else if (k > 0.0)
        a = static_cast<std::size_t>(k);
    const std::size_t b = a + 1;
    const double ta = grid.TimeAt(a);
    const double tb = grid.TimeAt(b);
    const double sa = samples[a];
    if (ta == tb) return sa;
    return sa + (static_cast<double>(samples[b]) - sa) * (t - ta) / (tb - ta);
}
