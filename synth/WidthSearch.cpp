#include "WidthSearch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "RootFinder.h"

namespace {

// The search stops once the area is this close to the request, relatively: a tenth of the
// promise, and still coarser than the steps in which the float samples let an area move (about
// 6e-8 of the height times a sampling step).
constexpr double kAimedTolerance = 1e-7;
// A bracket this narrow, relatively, closes on a jump of the area: the area grows about in
// proportion to the width, so its smooth part moves far less than the aim across it.
constexpr double kNarrowestBracket = 1e-9;
// The first step from the start width goes where the area's proportion to the width points, this
// much beyond; later steps double or halve the width.
constexpr double kFirstStepMargin = 1e-3;
// Golden-section steps looking for the largest area when the longest width falls short: the
// interval shrinks to 7e-4 of itself, and the area, flat at its largest, moves far less. For a
// request more than twice the largest area bracketed, which no refinement reaches, only enough
// steps to tell the largest within a fraction of a percent (5.6 % of the interval): widths
// comparable to a long run are its most costly trials.
constexpr int kLargestAreaSteps = 15;
constexpr int kRoughLargestAreaSteps = 6;
constexpr double kHopelessRequest = 2.0;
// Around a jump, probes half a smooth piece apart, over 8 pieces on either side: the pieces that
// cross the request lie next to the jump, if anywhere. Only around a jump of at most a tenth of
// the request: a larger one is a change of what the bounds hold (they moved to another valley),
// not of the noise under the baseline's ends, and the pieces around it do not come near it.
constexpr double kScanSpacing = 0.5;
constexpr int kScanProbes = 16;
constexpr double kLargestScannedJump = 0.1;
constexpr double kGoldenRatio = 0.61803398874989484820;

// One trial: a width, how far its area lies above the request, and the bounds it was measured
// between.
struct Probe {
    double width = 0.0;
    double excess = 0.0;
    double front = 0.0;
    double back = 0.0;
};

// The search on one peak's area as a function of its width, within [shortest, longest].
class WidthSearch {
public:
    WidthSearch(const MeasureWidth& measure, const WidthSearchRange& range)
        : m_measure(measure),
          m_target(range.target),
          m_step(range.step),
          m_shortest(range.shortest),
          m_longest(range.longest) {}

    WidthFitResult Run(double start) {
        Probe probe = Try(std::clamp(start, m_shortest, m_longest));
        if (probe.excess < 0.0) {
            double factor = FirstFactor(probe, 1.0 + kFirstStepMargin, 1.0 + kFirstStepMargin, 2.0);
            while (!Met(probe) && probe.width < m_longest) {
                const Probe next = Try(std::min(m_longest, probe.width * factor));
                if (next.excess >= 0.0) return Narrow(probe, next);
                probe = next;
                factor = 2.0;
            }
            return Met(probe) ? Found(probe) : Largest();
        }
        double factor = FirstFactor(probe, 1.0 - kFirstStepMargin, 0.5, 1.0 - kFirstStepMargin);
        while (!Met(probe) && probe.width > m_shortest) {
            const Probe next = Try(std::max(m_shortest, probe.width * factor));
            if (next.excess < 0.0) return Narrow(next, probe);
            probe = next;
            factor = 0.5;
        }
        return Met(probe) ? Found(probe) : Smallest();
    }

private:
    // A trial whose area is not finite ends the search; its excess reads as 0 so that no loop
    // goes on with it.
    Probe Try(double width) {
        const WidthTrial trial = m_measure(width);
        const Probe probe{width, trial.area - m_target, trial.front, trial.back};
        if (std::isfinite(probe.excess)) {
            m_tried.push_back(probe);
            return probe;
        }
        m_non_finite = true;
        return {width, 0.0, probe.front, probe.back};
    }

    bool Met(const Probe& probe) const {
        return std::fabs(probe.excess) <= kAimedTolerance * m_target;
    }

    // Areas grow about in proportion to the width, so the first step goes to where that points,
    // a little beyond (`overshoot`), and by a factor within [low, high].
    double FirstFactor(const Probe& probe, double overshoot, double low, double high) const {
        const double area = probe.excess + m_target;
        if (!(area > 0.0)) return probe.excess < 0.0 ? high : low;
        return std::clamp(m_target / area * overshoot, low, high);
    }

    WidthFitResult Outcome(WidthFitOutcome outcome, double width, double area) const {
        if (m_non_finite) return {WidthFitOutcome::NonFinite, width, 0.0};
        return {outcome, width, area};
    }

    WidthFitResult Found(const Probe& probe) const {
        return Outcome(WidthFitOutcome::Fitted, probe.width, probe.excess + m_target);
    }

    bool Closer(const Probe& a, const Probe& b) const {
        return std::fabs(a.excess) < std::fabs(b.excess);
    }

    // Between a width whose area falls short and one whose area reaches the request, in either
    // order. A bracket that closes on a jump of the area is looked around for a smooth piece
    // that reaches the request, and otherwise ends on the side nearest to it.
    WidthFitResult Narrow(const Probe& short_of, const Probe& reaching) {
        if (m_non_finite) return Outcome(WidthFitOutcome::NonFinite, 0.0, 0.0);
        double jump = 0.0;
        const Probe narrowed = Narrowed(short_of, reaching, &jump);
        const bool scan = !Met(narrowed) && !m_non_finite && jump <= kLargestScannedJump * m_target;
        return Found(scan ? ScanAround(narrowed) : narrowed);
    }

    // The end of the narrowed bracket nearer the request; `jump` receives how far apart the
    // areas at its two ends lie.
    Probe Narrowed(const Probe& a, const Probe& b, double* jump = nullptr) {
        const Probe& lo = a.width < b.width ? a : b;
        const Probe& hi = a.width < b.width ? b : a;
        const RootBracket root = NarrowRootBracket(
            [this](double width) { return Try(width).excess; }, lo.width, hi.width, lo.excess,
            hi.excess, kNarrowestBracket * hi.width, kAimedTolerance * m_target);
        if (jump != nullptr) *jump = std::fabs(root.f_hi - root.f_lo);
        const double width = std::fabs(root.f_lo) <= std::fabs(root.f_hi) ? root.lo : root.hi;
        return TriedAt(width);
    }

    Probe TriedAt(double width) const {
        const auto at = std::find_if(m_tried.rbegin(), m_tried.rend(),
                                     [width](const Probe& p) { return p.width == width; });
        return at == m_tried.rend() ? Probe{width} : *at;
    }

    // The request fell into a jump. With noise, every move of a bound by one sample moves the
    // baseline's ends onto other noisy samples, so the area is a saw of short smooth pieces, and a
    // piece near the jump may still cross the request. Probes a fraction of a piece apart walk
    // out on either side, nearest first; from each, the point where its piece would cross the
    // request is tried when it lies within a piece's length, and two neighbouring probes of one
    // piece (measured between the same bounds) that straddle the request are narrowed on. A
    // piece is where both bounds move by a sample: about step x width / (back - front).
    Probe ScanAround(const Probe& gap) {
        const double piece = m_step * gap.width / std::max(gap.back - gap.front, m_step);
        Probe nearest = AlongPiece(gap, piece);
        Probe previous[2] = {gap, gap};
        for (int k = 1; k <= kScanProbes && !Met(nearest) && !m_non_finite; ++k) {
            for (int side = 0; side < 2 && !Met(nearest) && !m_non_finite; ++side) {
                const double width =
                    gap.width + (side == 0 ? -1.0 : 1.0) * k * piece * kScanSpacing;
                if (!(width > m_shortest && width < m_longest)) continue;
                const Probe probe = Try(width);
                Probe& before = previous[side];
                const Probe found = SamePiece(probe, before) && Straddle(probe, before)
                                        ? Narrowed(before, probe)
                                        : AlongPiece(probe, piece);
                if (Closer(found, nearest)) nearest = found;
                before = probe;
            }
        }
        return nearest;
    }

    static bool SamePiece(const Probe& a, const Probe& b) {
        return a.front == b.front && a.back == b.back;
    }
    static bool Straddle(const Probe& a, const Probe& b) {
        return (a.excess < 0.0) != (b.excess < 0.0);
    }

    // Where the probe's piece would meet the request, the area growing about in proportion to
    // the width, tried when that is within `reach`; narrowed on if it lands on the same piece
    // across the request. The nearer of the probe and what was found.
    Probe AlongPiece(const Probe& probe, double reach) {
        const double width = probe.width - probe.excess * probe.width / m_target;
        if (!(std::fabs(width - probe.width) < reach && width > m_shortest && width < m_longest))
            return probe;
        Probe found = Try(width);
        if (SamePiece(found, probe) && Straddle(found, probe)) found = Narrowed(probe, found);
        return Closer(found, probe) ? found : probe;
    }

    // Every width up to the longest fell short. The area need not grow all the way (a peak wider
    // than the run loses area to its baseline), so the largest is looked for: first a width
    // tried on either side of the best one whose area is smaller, then golden-section search
    // between them. A width met on the way that reaches the request is narrowed on after all.
    WidthFitResult Largest() {
        Probe best = BestTried();
        for (;;) {
            const Neighbours around = NeighboursOf(best);
            const bool lowest = around.below.width == best.width;
            const bool highest = around.above.width == best.width;
            if (lowest && best.width > m_shortest) {
                const Probe probe = Try(std::max(m_shortest, best.width * 0.5));
                if (m_non_finite || probe.excess >= 0.0) return Narrow(best, probe);
                if (probe.excess <= best.excess) continue;
                best = probe;
            } else if (highest && best.width < m_longest) {
                const Probe probe = Try(std::min(m_longest, best.width * 2.0));
                if (m_non_finite || probe.excess >= 0.0) return Narrow(best, probe);
                if (probe.excess <= best.excess) continue;
                best = probe;
            } else {
                break;
            }
        }
        const int steps = m_target > kHopelessRequest * (best.excess + m_target)
                              ? kRoughLargestAreaSteps
                              : kLargestAreaSteps;
        const Neighbours around = NeighboursOf(best);
        double a = around.below.width;
        double c = around.above.width;
        double x1 = c - kGoldenRatio * (c - a);
        double x2 = a + kGoldenRatio * (c - a);
        Probe p1 = Try(x1);
        Probe p2 = Try(x2);
        for (int step = 0; step < steps; ++step) {
            if (m_non_finite || p1.excess >= 0.0) return Narrow(best, p1);
            if (p2.excess >= 0.0) return Narrow(best, p2);
            if (p1.excess < p2.excess) {
                a = x1;
                x1 = x2;
                p1 = p2;
                x2 = a + kGoldenRatio * (c - a);
                p2 = Try(x2);
            } else {
                c = x2;
                x2 = x1;
                p2 = p1;
                x1 = c - kGoldenRatio * (c - a);
                p1 = Try(x1);
            }
        }
        return Outcome(WidthFitOutcome::Unreachable, 0.0, BestTried().excess + m_target);
    }

    Probe BestTried() const {
        return *std::max_element(
            m_tried.begin(), m_tried.end(),
            [](const Probe& a, const Probe& b) { return a.excess < b.excess; });
    }

    // The widths tried next below and above a tried one; the width itself where there is none.
    struct Neighbours {
        Probe below;
        Probe above;
    };
    Neighbours NeighboursOf(const Probe& probe) const {
        Neighbours around{probe, probe};
        for (const Probe& tried : m_tried) {
            if (tried.width < probe.width &&
                (around.below.width == probe.width || tried.width > around.below.width))
                around.below = tried;
            if (tried.width > probe.width &&
                (around.above.width == probe.width || tried.width < around.above.width))
                around.above = tried;
        }
        return around;
    }

    // Every width down to the narrowest tried still gives more than the request.
    WidthFitResult Smallest() const {
        const auto smallest =
            std::min_element(m_tried.begin(), m_tried.end(),
                             [](const Probe& a, const Probe& b) { return a.excess < b.excess; });
        if (smallest == m_tried.end()) return Outcome(WidthFitOutcome::NonFinite, 0.0, 0.0);
        return Outcome(WidthFitOutcome::TooSmall, 0.0, smallest->excess + m_target);
    }

    const MeasureWidth& m_measure;
    const double m_target;
    const double m_step;
    const double m_shortest;
    const double m_longest;
    std::vector<Probe> m_tried;
    bool m_non_finite = false;
};

}  // namespace

WidthFitResult SearchWidth(const MeasureWidth& measure, double start,
                           const WidthSearchRange& range) {
    return WidthSearch(measure, range).Run(start);
}
