// The regeneration pipeline on the dialog's default channel and on a long high-rate run, and the
// long run's fill through the plain every-peak-at-every-sample loop for comparison.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "synth/Drift.h"
#include "synth/NoiseEngine.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"
#include "synth/Regeneration.h"
#include "synth/SampleCount.h"
#include "tests/support/ReferenceFill.h"

namespace {

struct Run {
    Signal4 signal;
    std::vector<GenPeak4> peaks;
    double noise = 0.0;
    double drift = 0.0;
};

Run MakeRun(double minutes, double rate, int peak_count, double min_width, double max_width,
            double noise, double drift) {
    Run run;
    run.signal = Signal4(1.0 / rate, 0.0, nullptr, 0);
    ResizeChecked(run.signal, ComputeSampleCount(minutes, rate).count);
    std::mt19937 placement(7);
    std::uniform_real_distribution<double> time(0.0, minutes);
    std::uniform_real_distribution<double> height(1.0, 100.0);
    std::uniform_real_distribution<double> width(min_width, max_width);
    for (int i = 0; i < peak_count; ++i) {
        GenPeak4 peak = MakeNewPeak(time(placement), height(placement));
        peak.width = width(placement);
        run.peaks.push_back(peak);
    }
    run.noise = noise;
    run.drift = drift;
    return run;
}

// 10 minutes at 100 samples per minute with five peaks: what the dialog starts with.
Run DefaultChannel() {
    return MakeRun(10.0, 100.0, 5, 0.1, 0.1, 0.0, 0.0);
}
// 60 minutes at 6,000 samples per minute (360,000 samples), 200 peaks, noise and drift.
Run LongRun() {
    return MakeRun(60.0, 6000.0, 200, 0.02, 0.2, 0.1, 0.5);
}

void Pipeline(benchmark::State& state, Run run) {
    for (auto _ : state) {
        RegenerateSignal(run.signal, run.peaks, run.noise, run.drift);
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

}  // namespace

BENCHMARK_CAPTURE(Pipeline, DefaultChannel, DefaultChannel())
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Pipeline, LongRun, LongRun())->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PlainPipeline, LongRun, LongRun())->Unit(benchmark::kMillisecond)->UseRealTime();
