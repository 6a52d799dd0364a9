#pragma once

#include <cstdint>
#include <string>

#include "TailShape.h"

// A peak as the document stores it. Times in minutes, heights in millivolts, areas in
// millivolt-minutes. The field order is the stored order.
struct Peak4 {
    double front = 0.0;   // left end of the integration interval and of the baseline
    double back = 0.0;    // right end of the integration interval and of the baseline
    double time = 0.0;    // retention time: the centre of the Gaussian
    double area = 0.0;    // measured area above the baseline; a typed area is a width-fit target
    double height = 0.0;  // amplitude of the Gaussian
    double concent = 0.0;
    std::string name;  // UTF-8
    bool reference = false;
    // While both are negative, every area computation refreshes the baseline heights and the
    // window values from the signal. Peaks made by this program carry -1.
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::uint32_t flags = 0;
    double front_base_height = 0.0;
    double back_base_height = 0.0;
    double index = 0.0;
};

// A peak with what synthesis and the graph need besides the stored fields. Passing a GenPeak4
// where a Peak4 is expected keeps the stored fields and drops these (that is how a channel's
// stored table is filled for saving).
struct GenPeak4 : Peak4 {
    double width = 0.0;  // distance from the centre at which the peak has fallen to 1/e, minutes
    double window_front = 0.0;  // time - width
    double window_back = 0.0;   // time + width
    double window_front_height = 0.0;
    double window_back_height = 0.0;
    bool auto_bounds = false;  // true: front and back are detected at every regeneration
    // Gaussian unless the peak was given a tailing factor (SolveTailShape). The desktop
    // program's peaks are always Gaussian.
    TailShape tail;
};

// The name a new peak gets when the user does not give one.
inline constexpr const char* kNewPeakName = "Новое вещество";
inline constexpr double kNewPeakWidth = 0.1;

// A peak as the user places it: at a time and height, default width and name, bounds detected.
GenPeak4 MakeNewPeak(double time, double height);
