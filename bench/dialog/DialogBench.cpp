// The main window's own handlers on long high-rate runs: one keystroke in the analysis-time
// edit (every channel resized and regenerated), and an area typed for one peak (a width fit and
// a regeneration). Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <random>

#include "dialog/QuelmarDlg.h"
#include "table/TablePg.h"

namespace {

// Four channels of 60 minutes at 6,000 samples per minute (360,000 samples) with 200 peaks of
// widths 0.02 to 0.2 minutes each, and the given noise on every channel.
std::unique_ptr<CQuelmarDlg> LongRunDialog(double noise) {
    auto d = std::make_unique<CQuelmarDlg>();
    d->Edit(ControlId::SampleRate)->setText("6000");
    d->Edit(ControlId::AnalysisTime)->setText("60");
    d->m_sampleRate = 6000;
    d->m_analysisTime = 60;
    for (int i = 0; i < 3; ++i) d->OnAddChannel();
    std::mt19937 placement(7);
    std::uniform_real_distribution<double> time(0.0, 60.0), height(1.0, 100.0), width(0.02, 0.2);
    for (int c = 0; c < 4; ++c) {
        CTablePg* page = d->Page(c);
        page->m_channelNoise = noise;
        for (int i = 0; i < 200; ++i) {
            GenPeak4 peak = MakeNewPeak(time(placement), height(placement));
            peak.width = width(placement);
            page->m_peaks.push_back(peak);
        }
    }
    d->OnAnalysisTimeChanged();
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
    if (d->m_file.m_channels[3].signal.Size() != 360000) state.SkipWithError("wrong length");
}
BENCHMARK(TimeKeystroke)->Unit(benchmark::kMillisecond)->UseRealTime();

void TypedArea(benchmark::State& state) {
    auto d = LongRunDialog(0.1);
    GenPeak4& peak = d->Page(0)->m_peaks[100];
    for (auto _ : state) {
        // What the page does when an area is typed into its table.
        peak.area = 2.5;
        peak.auto_bounds = true;
        d->ApplyPeakArea(peak, 0);
        d->RegenerateChannel(0);
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
