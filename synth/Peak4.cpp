#include "Peak4.h"

GenPeak4 MakeNewPeak(double time, double height) {
    GenPeak4 peak;
    peak.time = time;
    peak.height = height;
    peak.width = kNewPeakWidth;
    peak.name = kNewPeakName;
    peak.left = -1;
    peak.right = -1;
    peak.auto_bounds = true;
    return peak;
}
