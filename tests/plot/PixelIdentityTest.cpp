#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "plot/AutoSeries.h"
#include "plot/PainterCanvas.h"

namespace {

// A dense noisy chromatogram-like curve: two peaks on a drifting baseline with noise, and a
// few samples that are not numbers at all.
std::vector<float> NoisyCurve(int n) {
    std::mt19937 gen(42);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    std::vector<float> y(n);
    for (int i = 0; i < n; ++i) {
        const double t = 10.0 * i / (n - 1);
        y[i] = static_cast<float>(60 * std::exp(-(t - 3) * (t - 3) / 0.02) +
                                  35 * std::exp(-(t - 6.5) * (t - 6.5) / 0.5) + 2 * t) +
               noise(gen);
    }
    y[50000] = y[50001] = std::numeric_limits<float>::quiet_NaN();
    y[130000] = std::numeric_limits<float>::infinity();
    return y;
}

struct View {
    const char* name;
    double x_min, x_max, y_min, y_max;
};

QImage Render(CAutoSeries& s, bool full) {
    QImage image(640, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    canvas.SetPen({19, 43, 169}, 0, PenStyle::Solid);
    canvas.SetBrush(Rgb{255, 255, 255});
    if (full)
        s.DrawPolylineFull(canvas);
    else
        s.DrawPolyline(canvas);
    return image;
}

int Inked(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != 0xffffffffu;
    return n;
}

class PixelIdentity : public ::testing::TestWithParam<bool> {};

// The column-thinned drawing must put exactly the pixels of the point-by-point polyline on the
// screen: whole curve, a vertical zoom where the noise keeps leaving through the top and bottom,
// a horizontal zoom that starts and ends between samples, and a view so narrow that the samples
// are sparse and get dots. Evenly spaced X (the fast column search) and an X array (the
// streaming reduction) both.
TEST_P(PixelIdentity, ThinnedPolylineDrawsTheSamePixelsAsTheFullOne) {
    const bool x_array = GetParam();
    const int n = 200000;
    const std::vector<float> ys = NoisyCurve(n);
    std::vector<float> xs(n);
    for (int i = 0; i < n; ++i) xs[i] = static_cast<float>(10.0 * i / (n - 1));

    CAutoSeries s;
    s.m_rect = {40, 20, 620, 340};
    s.m_y_values = ys.data();
    s.m_point_count = n;
    if (x_array) {
        s.m_x_values = xs.data();
    } else {
        s.m_x_step = 10.0 / (n - 1);
    }
    for (const View v :
         {View{"whole", 0, 10, -15, 90}, View{"zoomed in Y", 0, 10, 10, 18},
          View{"zoomed in X", 2.91, 3.37, -5, 70}, View{"sparse", 6.50001, 6.5012, 30, 50}}) {
        s.m_visible_x_min = v.x_min;
        s.m_visible_x_max = v.x_max;
        s.m_visible_y_min = v.y_min;
        s.m_visible_y_max = v.y_max;
        const QImage full = Render(s, true);
        const QImage thin = Render(s, false);
        EXPECT_TRUE(full == thin) << v.name;
        EXPECT_GT(Inked(full), 200) << v.name;
    }
}

INSTANTIATE_TEST_SUITE_P(EvenAndArrayX, PixelIdentity, ::testing::Values(false, true));

}  // namespace
