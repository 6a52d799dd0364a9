// Composing a 1600 x 600 plot window off-screen with one 2,000,000-sample curve: the whole
// picture (layout, grid, labels, curve) as a paint makes it, and the curve alone drawn both
// thinned per pixel column and point by point.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "plot/AutoCtrl.h"
#include "plot/PainterCanvas.h"

namespace {

constexpr int kSamples = 2'000'000;

QApplication& App() {
    static int argc = 1;
    static char name[] = "plot_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

const std::vector<float>& Curve() {
    static const std::vector<float> y = [] {
        std::mt19937 gen(3);
        std::normal_distribution<float> noise(0.0f, 0.8f);
        std::vector<float> v(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            const double t = 30.0 * i / (kSamples - 1);
            v[i] = static_cast<float>(70 * std::exp(-(t - 8) * (t - 8) / 0.05) +
                                      40 * std::exp(-(t - 17) * (t - 17) / 0.4) + 0.2 * t) +
                   noise(gen);
        }
        return v;
    }();
    return y;
}

std::unique_ptr<CAutoCtrl> MakeCtrl() {
    App();
    auto ctrl = std::make_unique<CAutoCtrl>();
    ctrl->resize(1600, 600);
    ctrl->m_x_caption = "Время (мин)";
    ctrl->m_y_caption = "Отклик (мВ)";
    ctrl->m_frame_flags = 7;
    CAutoSeries& s = ctrl->AddSeries();
    s.m_y_values = Curve().data();
    s.m_point_count = kSamples;
    s.m_x_step = 30.0 / (kSamples - 1);
    s.m_line_colour = {19, 43, 169};
    ctrl->SetVisibleRangeX(0, 30);
    ctrl->SetVisibleRangeY(0, 100);
    return ctrl;
}

void BM_ComposeWindow(benchmark::State& state) {
    const auto ctrl = MakeCtrl();
    for (auto _ : state) {
        QImage image = ctrl->RenderImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ComposeWindow)->Unit(benchmark::kMillisecond);

void DrawCurve(benchmark::State& state, bool full) {
    const auto ctrl = MakeCtrl();
    ctrl->RenderImage();  // lays the panel out
    CAutoSeries& s = ctrl->Series(0);
    s.m_rect = ctrl->m_rect;
    s.m_visible_x_min = ctrl->m_visible_x_min;
    s.m_visible_x_max = ctrl->m_visible_x_max;
    s.m_visible_y_min = ctrl->m_visible_y_min;
    s.m_visible_y_max = ctrl->m_visible_y_max;
    QImage image(1600, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.SetPen(s.m_line_colour, 0, PenStyle::Solid);
        if (full)
            s.DrawPolylineFull(canvas);
        else
            s.DrawPolyline(canvas);
    }
}

void BM_CurveThinned(benchmark::State& state) {
    DrawCurve(state, false);
}
void BM_CurvePointByPoint(benchmark::State& state) {
    DrawCurve(state, true);
}
BENCHMARK(BM_CurveThinned)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurvePointByPoint)->Unit(benchmark::kMillisecond);

}  // namespace
