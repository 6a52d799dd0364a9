#include "FiniteValues.h"

#include "synth/FiniteCheck.h"

bool FindNonFinite(const Signal4& signal, const std::vector<GenPeak4>& peaks) {
    return FindNonFiniteValue(signal, peaks).has_value();
}
