// The main window's own handlers on long high-rate runs: one keystroke in the analysis-time
// edit (every channel resized and regenerated), and an area typed for one peak (a width fit and
// a regeneration). Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <random>

#include "dialog/QuelmarDlg.h"

namespace {

// Four channels of 60 minutes at 6,000 samples per minute (360,000 samples) with 200 peaks of
// widths 0.02 to 0.2 minutes each, and the given noise on every channel.
std::unique_ptr<CQuelmarDlg> LongRunDialog(double noise) {
    auto d = std::make_unique<CQuelmarDlg>();
    // The peaks go in at one sample per minute, so that placing them costs little; the rate
    // of the long run comes last, in one regeneration of every channel.
    d->Apply([](CGeneratorModel& m) { return m.SetSampleRate(1); });
    d->Apply([](CGeneratorModel& m) { return m.SetAnalysisTime(60); });
    for (int i = 0; i < 3; ++i) d->OnAddChannel();
    std::mt19937 placement(7);
    std::uniform_real_distribution<double> time(0.0, 60.0), height(1.0, 100.0), width(0.02, 0.2);
    for (int c = 0; c < 4; ++c) {
        d->Apply([&](CGeneratorModel& m) { return m.SetNoise(c, noise); });
        for (int i = 0; i < 200; ++i) {
            GenPeak4 peak = MakeNewPeak(time(placement), height(placement));
            peak.width = width(placement);
            d->Apply([&](CGeneratorModel& m) { return m.AddPeak(c, peak); });
        }
    }
    d->Apply([](CGeneratorModel& m) { return m.SetSampleRate(6000); });
    return d;
}

void TimeKeystroke(benchmark::State& state) {
    auto d = LongRunDialog(0.0);
    QLineEdit* edit = d->Edit(ControlId::AnalysisTime);
    edit->setFocus();
    edit->end(false);
    for (auto _ : state) {
        // "60" -> "6" is not measured; "6" -> "60" is the keystroke of a 60-minute run.
        state.PauseTiming();
        QTest::keyClick(edit, Qt::Key_Backspace);
        state.ResumeTiming();
        QTest::keyClick(edit, Qt::Key_0);
    }
    if (d->Model().ChannelSignal(3).Size() != 360000) state.SkipWithError("wrong length");
}
BENCHMARK(TimeKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime();

void TypedArea(benchmark::State& state) {
    auto d = LongRunDialog(0.1);
    for (auto _ : state) {
        // What the page asks when an area is typed into its table: the width fit and the
        // regeneration, undo snapshot included.
        d->Apply([](CGeneratorModel& m) { return m.SetPeakValue(0, 100, PeakValue::Area, 2.5); });
    }
}
BENCHMARK(TypedArea)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
