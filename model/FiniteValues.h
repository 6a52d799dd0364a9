#pragma once

#include <vector>

#include "synth/Peak4.h"
#include "synth/Signal4.h"

// Whether a channel holds a sample or a peak value that is infinite or undefined: such a channel
// would be stored as nonsense, so no change may leave one behind.
bool FindNonFinite(const Signal4& signal, const std::vector<GenPeak4>& peaks);
