#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "plot/AutoView.h"

namespace {

// A view without a window: counts repaint requests, notifications and capture losses seen by an
// override, as a derived control with drags of its own would.
class RecordingView : public CAutoView {
public:
    RecordingView() {
        m_rect = {0, 0, 101, 101};
        SetVisibleRangeX(0, 100);
        SetVisibleRangeY(0, 100);
    }
    void OnCaptureLost() override {
        ++losses;
        CAutoView::OnCaptureLost();
    }

    int invalidated = 0;
    int losses = 0;
    std::vector<AutoNotify> notified;

protected:
    void Invalidate() override { ++invalidated; }
    void Notify(AutoNotify code) override { notified.push_back(code); }
};

// However the mouse is lost in the middle of a rubber band, the band ends without zooming and
// is repainted away, the release that may still come is not taken for the end of a zoom, and
// the next press starts a band of its own.
TEST(AutoView, LosingTheMouseEndsTheBandAndTheNextPressStartsAfresh) {
    struct Loss {
        const char* name;
        std::function<void(RecordingView&)> lose;
    };
    const Loss losses[] = {
        {"capture lost", [](RecordingView& v) { v.OnCaptureLost(); }},
        {"move without the button",
         [](RecordingView& v) {
             v.OnMouseMove({70, 70}, false);
         }},
        {"move without the button, on the corner",
         [](RecordingView& v) {
             v.OnMouseMove({60, 60}, false);
         }},
    };
    for (const Loss& loss : losses) {
        SCOPED_TRACE(loss.name);
        RecordingView v;
        ASSERT_TRUE(v.OnButtonDown(PlotButton::Left, {10, 10}));
        v.OnMouseMove({60, 60}, true);
        const int repaints = v.invalidated;

        loss.lose(v);
        EXPECT_FALSE(v.BandActive());
        EXPECT_EQ(v.losses, 1);
        EXPECT_EQ(v.invalidated, repaints + 1);
        v.OnCaptureLost();  // a second sign of the same loss changes nothing more
        EXPECT_EQ(v.invalidated, repaints + 1);

        EXPECT_FALSE(v.OnButtonUp(PlotButton::Left, {60, 60}));
        EXPECT_TRUE(v.notified.empty());
        EXPECT_EQ(v.m_fixed_x_min, 0.0);
        EXPECT_EQ(v.m_fixed_x_max, 100.0);
        EXPECT_EQ(v.m_fixed_y_max, 100.0);

        ASSERT_TRUE(v.OnButtonDown(PlotButton::Left, {20, 30}));
        EXPECT_EQ(v.BandRect(), (PlotRect{20, 30, 20, 30}));
    }
}

}  // namespace
