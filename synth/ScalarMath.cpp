// Compiled for the static target only: one lane gives the same bits as every vector target.
#include "synth/ScalarMath.h"

#include "hwy/highway.h"
#include "synth/PortableMath-inl.h"

namespace portable_math {
namespace HWY_NAMESPACE {
namespace {

double ExpOneLane(double x) {
    const hn::CappedTag<double, 1> d;
    return hn::GetLane(ExpOfNonPositive(d, hn::Set(d, x)));
}

double LogOneLane(double x) {
    const hn::CappedTag<double, 1> d;
    return hn::GetLane(LogOfPositive(d, hn::Set(d, x)));
}

}  // namespace
}  // namespace HWY_NAMESPACE
}  // namespace portable_math

double ExpOfNonPositiveScalar(double x) {
    return portable_math::HWY_NAMESPACE::ExpOneLane(x);
}

double LogOfPositiveScalar(double x) {
    return portable_math::HWY_NAMESPACE::LogOneLane(x);
}
