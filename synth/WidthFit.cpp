#include "WidthFit.h"

#include <algorithm>
#include <cmath>

#include "NoiseEngine.h"
#include "Regeneration.h"
#include "TailedPeak.h"
#include "WidthSearch.h"

namespace {

// No width narrower than this share of a sampling step is tried: the peak is then a single
// sample or nothing, whatever the width.
constexpr double kNarrowestInSteps = 0x1p-30;

// The area that regenerating the channel measures for the fitted peak with a given width, in the
// direction of its height. Every trial starts from the noise generator's state at construction,
// which is restored on destruction.
class TrialArea {
public:
    TrialArea(const Signal4& signal, const std::vector<GenPeak4>& peaks, std::size_t fitted,
              double noise, double drift)
        : m_peaks(peaks),
          m_original(peaks[fitted]),
          m_fitted(fitted),
          m_noise(noise),
          m_drift(drift),
          m_direction(peaks[fitted].height < 0.0 ? -1.0 : 1.0),
          m_noise_start(NoiseEngine::Instance().State()) {
        const SampleGrid grid = signal.Grid();
        m_trial.start = grid.start;
        m_trial.step = grid.step;
        m_trial.last_index = signal.last_index;
        m_trial.Resize(signal.Size());
    }
    ~TrialArea() { NoiseEngine::Instance().Restore(m_noise_start); }
    TrialArea(const TrialArea&) = delete;
    TrialArea& operator=(const TrialArea&) = delete;

    WidthTrial operator()(double width) {
        NoiseEngine::Instance().Restore(m_noise_start);
        GenPeak4& peak = m_peaks[m_fitted];
        peak = m_original;
        peak.width = width;
        RegenerateMeasurements(m_trial, m_peaks, m_fitted, m_noise, m_drift);
        return {m_direction * peak.area, peak.front, peak.back};
    }

private:
    Signal4 m_trial;
    std::vector<GenPeak4> m_peaks;
    const GenPeak4 m_original;
    const std::size_t m_fitted;
    const double m_noise;
    const double m_drift;
    const double m_direction;
    const Mt19937 m_noise_start;
};

// Whether every value the fit starts from is finite, and the time axis runs forward.
bool FitIsDefined(const Signal4& signal, const GenPeak4& peak, double noise, double drift) {
    const SampleGrid grid = signal.Grid();
    const bool bounds = peak.auto_bounds || (std::isfinite(peak.front) && std::isfinite(peak.back));
    return std::isfinite(peak.time) && std::isfinite(peak.height) && bounds &&
           std::isfinite(noise) && std::isfinite(drift) && std::isfinite(grid.start) &&
           std::isfinite(grid.step) && grid.step > 0.0;
}

}  // namespace

double WidthForArea(double area, const GenPeak4& peak) {
    const double width = area / (std::fabs(peak.height) * AreaPerWidth(peak.tail));
    return std::isfinite(width) && width > 0.0 ? width : kNewPeakWidth;
}

WidthFitResult FitWidthToArea(const Signal4& signal, std::vector<GenPeak4>& peaks,
                              std::size_t fitted, double area, double noise, double drift) {
    GenPeak4& peak = peaks.at(fitted);
    auto refused = [&peak](WidthFitOutcome outcome, double reached = 0.0) {
        return WidthFitResult{outcome, peak.width, reached};
    };
    if (!(std::isfinite(area) && area > 0.0)) return refused(WidthFitOutcome::NotPositive);
    if (!FitIsDefined(signal, peak, noise, drift)) return refused(WidthFitOutcome::NonFinite);
    if (peak.height == 0.0) return refused(WidthFitOutcome::NoHeight);
    const double longest = signal.GetEndTime() - signal.Grid().start;
    if (!(longest > 0.0)) return refused(WidthFitOutcome::Unreachable);
    const double shortest = std::min(signal.Grid().step, longest) * kNarrowestInSteps;

    WidthFitResult result;
    {
        TrialArea trial_area(signal, peaks, fitted, noise, drift);
        result =
            SearchWidth([&trial_area](double width) { return trial_area(width); },
                        WidthForArea(area, peak), {area, signal.Grid().step, shortest, longest});
    }
    if (result.outcome != WidthFitOutcome::Fitted) return refused(result.outcome, result.area);
    peak.width = result.width;
    return result;
}
