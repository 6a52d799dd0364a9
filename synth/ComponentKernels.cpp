// The baseline components' terms, compiled once per dispatch target, and the same code on one lane.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "synth/ComponentKernels.cpp"
#include "hwy/foreach_target.h"  // must come before highway.h

#include "hwy/highway.h"
#include "synth/ComponentKernels.h"
#include "synth/GridTerms-inl.h"
#include "synth/PortableMath-inl.h"

HWY_BEFORE_NAMESPACE();
namespace portable_math {
namespace HWY_NAMESPACE {

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V StepArgumentOf(D d, V t, double time, double rate) {
    const V centre = hn::Set(d, time);
    return hn::IfThenZeroElse(hn::Eq(t, centre), hn::Mul(hn::Sub(t, centre), hn::Set(d, rate)));
}

// Written with the exponential of -|x| only, so that no exponential overflows.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V RisingStepOf(D d, V t, double time, double height, double rate) {
    const V x = StepArgumentOf(d, t, time, rate);
    const V e = ExpOfNonPositive(d, hn::Neg(hn::Abs(x)));
    const V h = hn::Set(d, height);
    const V below = hn::Div(hn::Mul(h, e), hn::Add(hn::Set(d, 1.0), e));
    const V above = hn::Div(h, hn::Add(hn::Set(d, 1.0), e));
    return hn::IfThenElse(hn::Ge(x, hn::Zero(d)), above, below);
}

template <class D, class V = hn::VFromD<D>>
HWY_INLINE V SineOf(D d, V t, double amplitude, double frequency, double phase_turns) {
    const V turns = hn::Add(hn::Mul(t, hn::Set(d, frequency)), hn::Set(d, phase_turns));
    return hn::Mul(hn::Set(d, amplitude), SinOfTurns(d, turns));
}

// Before time 0 the exponent is held at 0.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V SettleOf(D d, V t, double height, double time_constant) {
    const V exponent = hn::Neg(hn::Div(t, hn::Set(d, time_constant)));
    const V held = hn::IfThenElse(hn::Gt(exponent, hn::Zero(d)), hn::Zero(d), exponent);
    return hn::Mul(hn::Set(d, height), ExpOfNonPositive(d, held));
}

template <class Term>
void AddTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
              const Term& term) {
    std::size_t j = 0;
    AddGridTerms(hn::ScalableTag<double>(), sums, first, j, count, grid, term);
    AddGridTerms(hn::CappedTag<double, 1>(), sums, first, j, count, grid, term);
}

template <class Term>
double OneLane(double t, const Term& term) {
    const hn::CappedTag<double, 1> d;
    return hn::GetLane(term(d, hn::Set(d, t)));
}

auto RisingStep(double time, double height, double rate) {
    return [=](auto d, auto t) { return RisingStepOf(d, t, time, height, rate); };
}
auto Sine(double amplitude, double frequency, double phase_turns) {
    return [=](auto d, auto t) { return SineOf(d, t, amplitude, frequency, phase_turns); };
}
auto Settle(double height, double time_constant) {
    return [=](auto d, auto t) { return SettleOf(d, t, height, time_constant); };
}

void AddDriftLanes(double* sums, std::size_t first, std::size_t count, SampleGrid grid,
                   double drift) {
    AddTerms(sums, first, count, grid,
             [drift](auto d, auto t) { return hn::Mul(t, hn::Set(d, drift)); });
}

template <class D>
HWY_INLINE void AddConstantSpan(D d, double* sums, std::size_t& j, std::size_t count,
                                double value) {
    const std::size_t lanes = hn::Lanes(d);
    const auto v = hn::Set(d, value);
    for (; j + lanes <= count; j += lanes)
        hn::StoreU(hn::Add(hn::LoadU(d, sums + j), v), d, sums + j);
}

void AddConstantLanes(double* sums, std::size_t count, double value) {
    std::size_t j = 0;
    AddConstantSpan(hn::ScalableTag<double>(), sums, j, count, value);
    AddConstantSpan(hn::CappedTag<double, 1>(), sums, j, count, value);
}

template <class D>
HWY_INLINE void AddToSamplesSpan(D d, float* samples, const double* baseline, const double* noise,
                                 std::size_t& j, std::size_t count) {
    const hn::Rebind<float, D> df;
    const std::size_t lanes = hn::Lanes(d);
    for (; j + lanes <= count; j += lanes) {
        const auto sum = hn::Add(hn::LoadU(d, baseline + j), hn::LoadU(d, noise + j));
        const auto sample = hn::PromoteTo(d, hn::LoadU(df, samples + j));
        hn::StoreU(hn::DemoteTo(df, hn::Add(sum, sample)), df, samples + j);
    }
}

void AddToSamplesLanes(float* samples, const double* baseline, const double* noise,
                       std::size_t count) {
    std::size_t j = 0;
    AddToSamplesSpan(hn::ScalableTag<double>(), samples, baseline, noise, j, count);
    AddToSamplesSpan(hn::CappedTag<double, 1>(), samples, baseline, noise, j, count);
}

void AddRisingStepLanes(double* sums, std::size_t first, std::size_t count, SampleGrid grid,
                        double time, double height, double rate) {
    AddTerms(sums, first, count, grid, RisingStep(time, height, rate));
}
void AddSineLanes(double* sums, std::size_t first, std::size_t count, SampleGrid grid,
                  double amplitude, double frequency, double phase_turns) {
    AddTerms(sums, first, count, grid, Sine(amplitude, frequency, phase_turns));
}
void AddSettleLanes(double* sums, std::size_t first, std::size_t count, SampleGrid grid,
                    double height, double time_constant) {
    AddTerms(sums, first, count, grid, Settle(height, time_constant));
}

double RisingStepOneLane(double t, double time, double height, double rate) {
    return OneLane(t, RisingStep(time, height, rate));
}
double StepArgumentOneLane(double t, double time, double rate) {
    return OneLane(t, [=](auto d, auto v) { return StepArgumentOf(d, v, time, rate); });
}
double SineOneLane(double t, double amplitude, double frequency, double phase_turns) {
    return OneLane(t, Sine(amplitude, frequency, phase_turns));
}
double SettleOneLane(double t, double height, double time_constant) {
    return OneLane(t, Settle(height, time_constant));
}

}  // namespace HWY_NAMESPACE
}  // namespace portable_math
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace portable_math {
HWY_EXPORT(AddRisingStepLanes);
HWY_EXPORT(AddDriftLanes);
HWY_EXPORT(AddToSamplesLanes);
HWY_EXPORT(AddConstantLanes);
HWY_EXPORT(AddSineLanes);
HWY_EXPORT(AddSettleLanes);
}  // namespace portable_math

void AddRisingStepTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                        double time, double height, double rate) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddRisingStepLanes)(sums, first, count, grid, time, height, rate);
}

double RisingStepAt(double t, double time, double height, double rate) {
    using namespace portable_math;
    return HWY_STATIC_DISPATCH(RisingStepOneLane)(t, time, height, rate);
}

double StepArgument(double t, double time, double rate) {
    using namespace portable_math;
    return HWY_STATIC_DISPATCH(StepArgumentOneLane)(t, time, rate);
}

void AddSineTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                  double amplitude, double frequency, double phase_turns) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddSineLanes)(sums, first, count, grid, amplitude, frequency, phase_turns);
}

double SineAt(double t, double amplitude, double frequency, double phase_turns) {
    using namespace portable_math;
    return HWY_STATIC_DISPATCH(SineOneLane)(t, amplitude, frequency, phase_turns);
}

void AddSettleTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                    double height, double time_constant) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddSettleLanes)(sums, first, count, grid, height, time_constant);
}

double SettleAt(double t, double height, double time_constant) {
    using namespace portable_math;
    return HWY_STATIC_DISPATCH(SettleOneLane)(t, height, time_constant);
}
void AddDriftTerms(double* sums, std::size_t first, std::size_t count, const SampleGrid& grid,
                   double drift) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddDriftLanes)(sums, first, count, grid, drift);
}

void AddConstant(double* sums, std::size_t count, double value) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddConstantLanes)(sums, count, value);
}

void AddToSamples(float* samples, const double* baseline, const double* noise, std::size_t count) {
    using namespace portable_math;
    HWY_DYNAMIC_DISPATCH(AddToSamplesLanes)(samples, baseline, noise, count);
}
#endif  // HWY_ONCE
