#include "DocumentRules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "synth/ComponentRules.h"
#include "synth/PolarPoints.h"
#include "synth/SampleCount.h"
#include "synth/TailShape.h"

namespace {

constexpr double kLargestSample = std::numeric_limits<float>::max();

Refusal Refuse(RefusalCode code, double limit = 0.0) {
    return {code, limit, -1};
}

bool WithinSampleRange(double value) {
    return std::isfinite(value) && std::fabs(value) <= kLargestSample;
}

}  // namespace

Refusal CheckTimeAndRate(double minutes, double per_minute, std::size_t channels) {
    if (!std::isfinite(minutes) || !std::isfinite(per_minute))
        return Refuse(RefusalCode::NotFinite);
    if (!(minutes > 0.0)) return Refuse(RefusalCode::TimeNotPositive);
    if (!(per_minute >= 1.0)) return Refuse(RefusalCode::RateBelowOne);
    const SampleCountResult count = ComputeSampleCount(minutes, per_minute);
    if (!count.ok())
        return Refuse(RefusalCode::ChannelTooLong, static_cast<double>(kMaxSampleCount));
    if (count.count > kMaxDocumentSampleCount / std::max<std::size_t>(channels, 1))
        return Refuse(RefusalCode::DocumentTooLong, static_cast<double>(kMaxDocumentSampleCount));
    return {};
}

Refusal CheckChannelCount(std::size_t channels) {
    if (channels > kMaxChannels)
        return Refuse(RefusalCode::TooManyChannels, static_cast<double>(kMaxChannels));
    return {};
}

Refusal CheckNoise(double millivolts) {
    if (!std::isfinite(millivolts)) return Refuse(RefusalCode::NotFinite);
    if (millivolts < 0.0) return Refuse(RefusalCode::NoiseNegative);
    if (!WithinSampleRange(millivolts * kLargestDeviate))
        return Refuse(RefusalCode::NoiseTooLarge, kLargestSample / kLargestDeviate);
    return {};
}

Refusal CheckDrift(double millivolts_per_minute, double minutes) {
    if (!std::isfinite(millivolts_per_minute)) return Refuse(RefusalCode::NotFinite);
    // The drift adds drift x t: its largest contribution is at the end of the analysis.
    const double end = std::max(1.0, std::fabs(minutes));
    if (!WithinSampleRange(millivolts_per_minute * end))
        return Refuse(RefusalCode::DriftTooLarge, kLargestSample / end);
    return {};
}

Refusal CheckPeakTime(double minutes) {
    return std::isfinite(minutes) ? Refusal{} : Refuse(RefusalCode::NotFinite);
}

Refusal CheckPeakHeight(double millivolts) {
    if (!std::isfinite(millivolts)) return Refuse(RefusalCode::NotFinite);
    if (std::fabs(millivolts) > kLargestSample)
        return Refuse(RefusalCode::HeightTooLarge, kLargestSample);
    return {};
}

Refusal CheckPeakWidth(double minutes) {
    if (!std::isfinite(minutes)) return Refuse(RefusalCode::NotFinite);
    if (!(minutes > 0.0)) return Refuse(RefusalCode::WidthNotPositive);
    return {};
}

Refusal CheckTailing(double factor) {
    if (!std::isfinite(factor)) return Refuse(RefusalCode::NotFinite);
    if (!(factor >= kMinTailingFactor && factor <= kMaxTailingFactor))
        return Refuse(RefusalCode::TailingOutOfRange);
    return {};
}

Refusal CheckRequestedArea(double millivolt_minutes) {
    if (!std::isfinite(millivolt_minutes)) return Refuse(RefusalCode::NotFinite);
    if (!(millivolt_minutes > 0.0)) return Refuse(RefusalCode::AreaNotPositive);
    return {};
}

Refusal CheckManualBounds(double front, double back, double time, double start, double end) {
    if (!std::isfinite(front) || !std::isfinite(back)) return Refuse(RefusalCode::NotFinite);
    if (!(front < back)) return Refuse(RefusalCode::FrontNotBeforeBack);
    if (front < start || back > end) return Refuse(RefusalCode::BoundsOutsideRun, end);
    if (time < front || time > back) return Refuse(RefusalCode::BoundsExcludeTime);
    return {};
}

double WidthFromSigma(double sigma) {
    return sigma * std::numbers::sqrt2;
}

double SigmaFromWidth(double width) {
    return width / std::numbers::sqrt2;
}

std::optional<std::string> ComponentFaultKey(const ChannelComponents& components, double minutes,
                                             double per_minute) {
    // Checked even when they change no sample (spikes at rate 0): the document's settings carry
    // them, and the scenario reader refuses what the synthesis would.
    // The grid every channel of the document gets.
    const SampleGrid grid{0.0, 1.0 / per_minute};
    const auto fault =
        FindComponentFault(components, grid, ComputeSampleCount(minutes, per_minute).count);
    if (!fault) return std::nullopt;
    return fault->key;
}

Refusal CheckComponents(const ChannelComponents& components, double minutes, double per_minute) {
    if (ComponentFaultKey(components, minutes, per_minute))
        return Refuse(RefusalCode::ComponentsRefused);
    return {};
}
