#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <cmath>
#include <vector>

#include "plot/AutoCtrl.h"

namespace {

// Renders a plot with two curves and both captions to a PNG in the test's build folder, for
// people to look at, and checks what can be checked without eyes.
TEST(RenderPng, TwoSeriesWithCaptions) {
    const int n = 3001;
    std::vector<float> a(n), b(n);
    for (int i = 0; i < n; ++i) {
        const double t = 15.0 * i / (n - 1);
        a[i] =
            static_cast<float>(80 * std::exp(-(t - 4) * (t - 4) / 0.08) +
                               45 * std::exp(-(t - 9.2) * (t - 9.2) / 0.3) + 0.3 * std::sin(9 * t));
        b[i] = static_cast<float>(30 * std::exp(-(t - 6) * (t - 6) / 0.2) + 12 + 0.4 * t);
    }
    CAutoCtrl ctrl;
    ctrl.resize(800, 450);
    ctrl.m_x_caption = "Время (мин)";
    ctrl.m_y_caption = "Отклик (мВ)";
    ctrl.m_frame_flags = 7;
    for (auto [values, colour] : {std::pair{&a, Rgb{19, 43, 169}}, {&b, Rgb{200, 40, 40}}}) {
        CAutoSeries& s = ctrl.AddSeries();
        s.m_y_values = values->data();
        s.m_point_count = n;
        s.m_x_step = 15.0 / (n - 1);
        s.m_line_colour = colour;
    }
    ctrl.SetVisibleRangeX(0, 15);
    ctrl.SetVisibleRangeY(0, 100);
    const QImage image = ctrl.RenderImage();

    const QByteArray dir = qgetenv("QUELMAR_TEST_DATA");
    // CTest names the build folder; a direct run writes beside the test binary.
    const QString folder = dir.isEmpty() ? QCoreApplication::applicationDirPath() : QString(dir);
    const QString path = QDir(folder).filePath("plot_two_series.png");
    EXPECT_TRUE(image.save(path)) << path.toStdString();

    // Both curves are drawn, the grid is there, and the corner is window background.
    int blue = 0, red = 0, grid = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xffffff;
            blue += p == 0x132ba9;
            red += p == 0xc82828;
            grid += p == 0xbfbfbf;
        }
    EXPECT_GT(blue, 700);
    EXPECT_GT(red, 700);
    EXPECT_GT(grid, 1000);
    EXPECT_EQ(image.pixel(image.width() - 1, 0), 0xffffffffu);
}

}  // namespace
