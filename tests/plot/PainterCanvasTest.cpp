#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <string>

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
    for (const FontSpec& spec : {panel.m_tick_font, panel.m_caption_font, unknown}) {
        SCOPED_TRACE(spec.family);
        const QFont font = PainterCanvas::ToQFont(spec);
        EXPECT_EQ(QFontInfo(font).family(), PainterCanvas::kFallbackFamily);
        // The largest size whose cell fits: one pixel more would not.
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        const QFontMetrics larger_metrics(larger);
        EXPECT_GT(larger_metrics.ascent() + larger_metrics.descent(), spec.cell_height);

        canvas.SetFont(spec);
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

}  // namespace
