#include "PeakHitTest.h"

#include <cstdlib>

namespace {

bool Near(const CAutoCoordObject& frame, double time, double value, PlotPoint at, int tolerance) {
    return std::abs(at.x - frame.MapX(time)) <= tolerance &&
           std::abs(at.y - frame.MapY(value)) <= tolerance;
}

PeakDrag HitOnePeak(const CAutoCoordObject& frame, const GenPeak4& p, PlotPoint at, int tol,
                    const BaselineFn& baseline) {
    if (p.front != 0.0 && Near(frame, p.front, p.front_base_height, at, tol))
        return PeakDrag::Front;
    if (p.back != 0.0 && Near(frame, p.back, p.back_base_height, at, tol)) return PeakDrag::Back;
    if (p.height > 0.0 && Near(frame, p.time, ApexValue(p, baseline), at, tol))
        return PeakDrag::Apex;
    if (p.width > 0.0) {
        if (Near(frame, p.window_front, p.window_front_height, at, tol))
            return PeakDrag::WindowFront;
        if (Near(frame, p.window_back, p.window_back_height, at, tol)) return PeakDrag::WindowBack;
    }
    return PeakDrag::None;
}

}  // namespace

PeakHit HitTestPeaks(const CAutoCoordObject& frame, const std::vector<GenPeak4>& peaks,
                     PlotPoint at, int tolerance, const BaselineFn& baseline) {
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const PeakDrag drag = HitOnePeak(frame, peaks[i], at, tolerance, baseline);
        if (drag != PeakDrag::None) return {drag, static_cast<int>(i)};
    }
    return {};
}
