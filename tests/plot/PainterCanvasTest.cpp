#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "RecordingCanvas.h"
#include "plot/AutoPanel.h"
#include "plot/PainterCanvas.h"

namespace {

// The layout tests work with the metrics RecordingCanvas claims for the panel's default font;
// the real canvas must report exactly those, or they describe another picture. A missing family
// takes the fixed fallback whatever the font system would substitute.
TEST(PainterCanvasFont, DefaultFontHasTheMetricsTheLayoutTestsAssume) {
    const CAutoPanel panel;
    if (QFontInfo(PainterCanvas::ToQFont(panel.m_tick_font)).family() == "Arial")
        GTEST_SKIP() << "Arial is installed; TickFont holds the metrics of the fallback";
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    FontSpec unknown = panel.m_tick_font;
    unknown.family = "No Such Family";
    for (const FontSpec& wanted : {panel.m_tick_font, panel.m_caption_font, unknown}) {
        SCOPED_TRACE(wanted.family);
        const QFont font = PainterCanvas::ToQFont(wanted);
        EXPECT_EQ(QFontInfo(font).family(), PainterCanvas::kFallbackFamily);
        // The largest size whose cell fits: one pixel more would not.
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        const QFontMetrics larger_metrics(larger);
        EXPECT_GT(larger_metrics.ascent() + larger_metrics.descent(), wanted.cell_height);

        canvas.SetFont(wanted);
        const FontMetrics m = canvas.GetFontMetrics();
        EXPECT_EQ(m.height, TickFont::kHeight);
        EXPECT_EQ(m.ascent, TickFont::kAscent);
        EXPECT_EQ(m.average_char_width, TickFont::kAverageCharWidth);
        for (const std::string text : {"0", "5", "-", ".", "+", "e", "100", "-0.25", "1e-05",
                                       "1.23456789e+11", "0123456789"}) {
            EXPECT_EQ(canvas.TextExtent(text).width, TickFont::Width(text)) << text;
            EXPECT_EQ(canvas.TextExtent(text).height, TickFont::kHeight) << text;
        }
    }
}

// A thin line covers one coordinate pixel across, whether it is drawn as a filled span
// (axis-aligned) or with the pen (sloped), and at a device pixel ratio of 2 as at 1: on the
// scanline through the middle of the probe pixel the line must ink exactly that pixel's
// device pixels, `ratio` of them. Each line passes exactly through its probe pixel.
TEST(PainterCanvasLines, ThinLinesAreOnePixelThickAtEveryDevicePixelRatio) {
    struct Case {
        const char* name;
        PlotPoint from, to;
        PlotPoint probe;
        bool scan_row;  // scan across the line along a row (steep lines), else along a column
    };
    const Case cases[] = {
        {"horizontal", {10, 20}, {50, 20}, {30, 20}, false},
        {"vertical", {20, 10}, {20, 50}, {20, 30}, true},
        {"shallow", {10, 20}, {50, 30}, {30, 25}, false},  // y = 20 + (x - 10) / 4
        {"steep", {20, 10}, {30, 50}, {25, 30}, true},     // x = 20 + (y - 10) / 4
    };
    for (const int ratio : {1, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at ratio " + std::to_string(ratio));
            QImage image(64 * ratio, 64 * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                PainterCanvas canvas(painter);
                canvas.SetPen({0, 0, 0}, 0, PenStyle::Solid);
                canvas.DrawLine(c.from, c.to);
            }
            const int fixed = (c.scan_row ? c.probe.y : c.probe.x) * ratio + ratio / 2;
            std::vector<int> inked;
            for (int i = 0; i < image.width(); ++i) {
                const QRgb p = c.scan_row ? image.pixel(i, fixed) : image.pixel(fixed, i);
                if (p != 0xffffffffu) inked.push_back(i);
            }
            const int first = (c.scan_row ? c.probe.x : c.probe.y) * ratio;
            std::vector<int> expected;
            for (int i = 0; i < ratio; ++i) expected.push_back(first + i);
            EXPECT_EQ(inked, expected);
        }
    }
}

}  // namespace
