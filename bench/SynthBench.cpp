// The regeneration pipeline on the dialog's default channel and on a long high-rate run, the long
// run's fill through the plain every-peak-at-every-sample loop for comparison, noise alone, and
// width fits: on the long run's grid, in the long-run channel, and on a 50,000,000-sample run.
// bench/peer/long_run.py is the NumPy counterpart of the long run.
#include <benchmark/benchmark.h>

#include <vector>

#include "synth/Drift.h"
#include "synth/NoiseEngine.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"
#include "synth/Regeneration.h"
#include "synth/TailedPeak.h"
#include "synth/WidthFit.h"
#include "tests/support/PlacedPeaks.h"
#include "tests/support/ReferenceFill.h"

namespace {

struct Run {
    Signal4 signal;
    std::vector<GenPeak4> peaks;
    double noise = 0.0;
    double drift = 0.0;
    ChannelComponents components;
};

// 10 minutes at 100 samples per minute with five peaks: what the dialog starts with.
Run DefaultChannel() {
    return {ZeroSignal(10.0, 100.0), PlacePeaks(10.0, 5, 0.1, 0.1), 0.0, 0.0, {}};
}
// 60 minutes at 6,000 samples per minute (360,000 samples), 200 peaks, noise and drift; the peaks
// are those bench/peer/long_run.py draws.
Run LongRun() {
    return {LongRunSignal(), LongRunPeaks(), kLongRunNoise, kLongRunDrift, {}};
}
// The long run with pink noise, a wander, two steps, a sine and spikes.
Run LongRunWithComponents() {
    Run run = LongRun();
    run.components = LongRunComponents();
    return run;
}
// The long run with every peak tailing (factor 1.5).
Run LongRunTailing() {
    Run run = LongRun();
    run.peaks = LongRunTailingPeaks();
    return run;
}

void Pipeline(benchmark::State& state, Run run) {
    for (auto _ : state) {
        RegenerateSignal(run.signal, run.peaks, run.noise, run.drift, run.components);
        benchmark::DoNotOptimize(run.signal.samples.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(run.signal.Size()));
}

// The same steps as the pipeline, with the fill done the plain way.
void PlainPipeline(benchmark::State& state, Run run) {
    for (auto _ : state) {
        FillSignalEveryPair(run.signal, run.signal.Size(), run.peaks);
        for (GenPeak4& peak : run.peaks)
            if (peak.auto_bounds) FindPeakBounds(run.signal, peak);
        AddNoise(run.signal, run.noise);
        AddDrift(run.signal, run.drift);
        for (GenPeak4& peak : run.peaks) ComputePeakArea(run.signal, peak);
        benchmark::DoNotOptimize(run.signal.samples.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(run.signal.Size()));
}

// Noise of amplitude 0.1 on the long run's 360,000 samples; items are samples.
void Noise(benchmark::State& state) {
    Run run = LongRun();
    for (auto _ : state) {
        AddNoise(run.signal, 0.1);
        benchmark::DoNotOptimize(run.signal.samples.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(run.signal.Size()));
}

// One width fit on the long run's grid with the peak alone, noise 0.1 and drift 0.5: a peak of
// height 10 at 30 minutes whose area is to be 1 millivolt-minute (a width near 0.056 minutes).
void WidthFit(benchmark::State& state) {
    Run run = LongRun();
    run.peaks = {MakeNewPeak(30.0, 10.0)};
    for (auto _ : state) {
        std::vector<GenPeak4> peaks = run.peaks;
        FitWidthToArea(run.signal, peaks, 0, 1.0, run.noise, run.drift);
        benchmark::DoNotOptimize(peaks[0].width);
    }
}

// An area typed for one peak of the long-run channel, its 200 peaks in place, noise 0.1 and no
// drift, as the dialog's benchmark has it: the area the peak's closed form gives at 1.2 times its
// width, for every 20th peak in turn. Items are fits.
void WidthFitInChannel(benchmark::State& state, Run run) {
    RegenerateSignal(run.signal, run.peaks, kLongRunNoise, 0.0);
    std::size_t fitted = 0;
    for (auto _ : state) {
        std::vector<GenPeak4> peaks = run.peaks;
        const GenPeak4& peak = peaks[fitted];
        const double area = 1.2 * peak.width * peak.height * AreaPerWidth(peak.tail);
        FitWidthToArea(run.signal, peaks, fitted, area, kLongRunNoise, 0.0);
        benchmark::DoNotOptimize(peaks[fitted].width);
        fitted = (fitted + 20) % peaks.size();
    }
    state.SetItemsProcessed(state.iterations());
}

// A peak of height 11.32 at 5 minutes of a 500,000-minute run at 100 samples per minute
// (50,000,000 samples) whose area is to be 20 millivolt-minutes, with the given noise.
void WidthFitOnVeryLongRun(benchmark::State& state, double noise) {
    const Signal4 signal = ZeroSignal(500'000.0, 100.0);
    const std::vector<GenPeak4> peaks{MakeNewPeak(5.0, 11.32)};
    for (auto _ : state) {
        std::vector<GenPeak4> fitted = peaks;
        FitWidthToArea(signal, fitted, 0, 20.0, noise, 0.0);
        benchmark::DoNotOptimize(fitted[0].width);
    }
}

}  // namespace

BENCHMARK_CAPTURE(Pipeline, DefaultChannel, DefaultChannel())
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Pipeline, LongRun, LongRun())->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Pipeline, LongRunWithComponents, LongRunWithComponents())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Pipeline, LongRunTailing, LongRunTailing())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(PlainPipeline, LongRun, LongRun())->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Noise)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(WidthFit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(WidthFitInChannel, Gaussian, LongRun())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(WidthFitInChannel, Tailing, LongRunTailing())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(WidthFitOnVeryLongRun, NoNoise, 0.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(WidthFitOnVeryLongRun, Noise1, 1.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
