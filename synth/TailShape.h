#pragma once

// The shape of a peak that tails or fronts, in units of its Gaussian part's standard deviation
// sigma = width / sqrt(2). A tailing peak is an exponentially modified Gaussian: the Gaussian
// convolved with an exponential decay whose time constant is sigma / decay; a fronting peak is
// its mirror image. The shape is scaled and shifted so that the peak's `time` is its apex and its
// `height` the apex value, whatever the tailing factor.
struct TailShape {
    double factor = 1.0;      // the requested tailing factor at 5 % of the height; 1 is Gaussian
    double decay = 0.0;       // sigma over the exponential's time constant; 0 for the Gaussian
    double apex = 0.0;        // where the unit shape peaks, in sigmas after the Gaussian's centre
    double apex_value = 1.0;  // the unit shape's value there
    bool fronting = false;    // the mirror image: the exponential runs towards earlier times
    // Half-height width over sigma (2 sqrt(2 ln 2) for the Gaussian), for resolutions.
    double half_height_width = 2.3548200450309493;

    bool IsGaussian() const { return decay == 0.0; }
};

// The range of tailing factors a peak may ask for. 0.5 is the limit of a peak whose back is a
// vertical edge; requests below kClosestFronting get that factor (0.005 above the limit).
inline constexpr double kMinTailingFactor = 0.5;
inline constexpr double kMaxTailingFactor = 4.0;
inline constexpr double kClosestFronting = 0.505;
