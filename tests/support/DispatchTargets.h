#pragma once

#include <cstdint>
#include <string>

#include "hwy/highway.h"
#include "hwy/targets.h"

// Runs body(target name) once for each dispatch target this processor supports, with the
// vector code forced onto it, and then restores the normal choice.
template <class Body>
void ForEachDispatchTarget(Body body) {
    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        body(std::string(hwy::TargetName(target)));
    }
    hwy::SetSupportedTargetsForTest(0);
}
