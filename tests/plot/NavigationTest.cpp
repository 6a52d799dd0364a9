#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "plot/AutoCtrl.h"

namespace {

// Records the mouse events that reach it, i.e. those the plot did not consume.
class Parent : public QWidget {
public:
    std::vector<QEvent::Type> seen;

protected:
    void mousePressEvent(QMouseEvent* e) override { Record(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { Record(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { Record(e); }

private:
    void Record(QMouseEvent* e) {
        seen.push_back(e->type());
        e->accept();
    }
};

class Navigation : public ::testing::Test {
protected:
    Navigation() {
        for (int i = 0; i <= 100; ++i) ys.push_back(static_cast<float>(20 + 0.5 * i));
        CAutoSeries& s = ctrl->AddSeries();
        s.m_y_values = ys.data();
        s.m_point_count = static_cast<int>(ys.size());
        parent.resize(400, 300);
        ctrl->setGeometry(0, 0, 400, 300);
        QObject::connect(ctrl, &CAutoCtrl::Notified, [this](AutoNotify c) { codes.push_back(c); });
        ctrl->SetVisibleRangeX(0, 100);
        ctrl->SetVisibleRangeY(0, 100);
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
        Paint();
    }
    void Paint() { ctrl->repaint(); }  // a real paint fixes the plot rectangle and the ticks

    // Data under a client pixel, worked out from the plot rectangle of the last paint.
    double XAt(int px) const {
        const PlotRect& r = ctrl->m_rect;
        return (px - r.left) * 100.0 / (r.right - r.left - 1);
    }
    double YAt(int py) const {
        const PlotRect& r = ctrl->m_rect;
        return 100.0 - (py - r.top) * 100.0 / (r.bottom - r.top - 1);
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(ctrl, button, {}, from);
        QTest::mouseMove(ctrl, to);
        QTest::mouseRelease(ctrl, button, {}, to);
    }
    void Wheel(int delta, Qt::KeyboardModifiers mods = {}) {
        const QPointF at(200, 150);
        QWheelEvent e(at, ctrl->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(ctrl, &e);
    }

    std::vector<float> ys;
    Parent parent;
    CAutoCtrl* ctrl = new CAutoCtrl(&parent);
    std::vector<AutoNotify> codes;
};

TEST(AutoNotifyCodes, AreTheNumbersOfTheContract) {
    EXPECT_EQ(static_cast<int>(AutoNotify::ZoomApplied), 1025);
    EXPECT_EQ(static_cast<int>(AutoNotify::ScrolledHorizontally), 1026);
    EXPECT_EQ(static_cast<int>(AutoNotify::ScrolledVertically), 1027);
    EXPECT_EQ(static_cast<int>(AutoNotify::ZoomRejected), 1028);
}

TEST_F(Navigation, RubberBandIsShownInvertedAndZoomsToTheDraggedRectangle) {
    const PlotRect r = ctrl->m_rect;
    const QPoint a(r.left + 50, r.top + 20), b(r.left + 150, r.top + 120);
    const QRgb before = ctrl->RenderImage().pixel(b.x() - 1, a.y());

    QTest::mousePress(ctrl, Qt::LeftButton, {}, a);
    QTest::mouseMove(ctrl, b);
    EXPECT_TRUE(ctrl->BandActive());
    EXPECT_EQ(ctrl->RenderImage().pixel(b.x() - 1, a.y()), (~before | 0xff000000u));
    QTest::mouseRelease(ctrl, Qt::LeftButton, {}, b);

    EXPECT_EQ(codes, std::vector{AutoNotify::ZoomApplied});
    EXPECT_FALSE(ctrl->BandActive());
    EXPECT_FALSE(ctrl->m_auto_x);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_min, XAt(a.x()));
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_max, XAt(b.x()));
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_min, YAt(b.y()));
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, YAt(a.y()));
}

TEST_F(Navigation, BandUnderThreePixelsIsRejectedAndChangesNothing) {
    const PlotRect r = ctrl->m_rect;
    Drag(Qt::LeftButton, {r.left + 10, r.top + 10}, {r.left + 12, r.top + 90});
    Drag(Qt::LeftButton, {r.left + 10, r.top + 10}, {r.left + 90, r.top + 12});
    EXPECT_EQ(codes, (std::vector{AutoNotify::ZoomRejected, AutoNotify::ZoomRejected}));
    EXPECT_EQ(ctrl->m_fixed_x_min, 0.0);
    EXPECT_EQ(ctrl->m_fixed_x_max, 100.0);
    EXPECT_EQ(ctrl->m_fixed_y_max, 100.0);
}

TEST_F(Navigation, BandOverTheLabelsZoomsOnlyToWhatIsVisible) {
    const PlotRect r = ctrl->m_rect;
    Drag(Qt::LeftButton, {2, r.top + 30}, {r.left + 100, 298});
    EXPECT_EQ(codes, std::vector{AutoNotify::ZoomApplied});
    EXPECT_EQ(ctrl->m_fixed_x_min, 0.0);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_max, XAt(r.left + 100));
    EXPECT_EQ(ctrl->m_fixed_y_min, 0.0);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, YAt(r.top + 30));

    // A band wholly left of the plot has nothing visible in it.
    Paint();
    Drag(Qt::LeftButton, {2, ctrl->m_rect.top + 30}, {ctrl->m_rect.left - 5, 200});
    EXPECT_EQ(codes.back(), AutoNotify::ZoomRejected);
}

TEST_F(Navigation, ZoomTooNarrowForItsMagnitudeIsRejected) {
    // Visible 1000 .. 1000.009: any part of it is narrower than 1000.009 / 100000.
    ctrl->SetVisibleRangeX(1000, 1000.009);
    Paint();
    const PlotRect r = ctrl->m_rect;
    Drag(Qt::LeftButton, {r.left + 10, r.top + 10}, {r.left + 200, r.top + 60});
    EXPECT_EQ(codes, std::vector{AutoNotify::ZoomRejected});
    EXPECT_EQ(ctrl->m_fixed_x_min, 1000.0);
    EXPECT_EQ(ctrl->m_fixed_y_max, 100.0);
}

TEST_F(Navigation, WithTheRightButtonZoomingTheLeftAndMiddleButtonsGoToTheParent) {
    ctrl->m_zoom_button = CAutoView::ZoomButton::Right;
    const PlotRect r = ctrl->m_rect;
    Drag(Qt::LeftButton, {r.left + 10, r.top + 10}, {r.left + 90, r.top + 90});
    QTest::mouseClick(ctrl, Qt::MiddleButton, {}, QPoint(r.left + 5, r.top + 5));
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(parent.seen, (std::vector{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
    Drag(Qt::RightButton, {r.left + 10, r.top + 10}, {r.left + 90, r.top + 90});
    EXPECT_EQ(codes, std::vector{AutoNotify::ZoomApplied});
    EXPECT_EQ(parent.seen.size(), 4u);
}

TEST_F(Navigation, PlainWheelScrollsVerticallyBeyondTheExtent) {
    ctrl->SetExtentY(0, 100);
    const double step = ctrl->m_tick_step_y;
    ASSERT_GT(step, 0.0);
    for (int i = 0; i < 12; ++i) Wheel(120);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_min, 12 * step);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, 100 + 12 * step);
    Wheel(-120);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_min, 11 * step);
    EXPECT_EQ(codes, std::vector<AutoNotify>(13, AutoNotify::ScrolledVertically));
}

TEST_F(Navigation, ShiftWheelScrollsHorizontallyAndStopsAtTheExtent) {
    ctrl->SetExtentX(0, 100);
    // At the left end already: nothing moves and nothing is reported.
    Wheel(120, Qt::ShiftModifier);
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(ctrl->m_fixed_x_min, 0.0);

    ctrl->SetVisibleRangeX(30, 70);
    Paint();
    const double step = ctrl->m_tick_step_x;
    ASSERT_GT(step, 0.0);
    ASSERT_LT(step, 30.0);
    for (int i = 0; i < 100; ++i) Wheel(-120, Qt::ShiftModifier);  // line right
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_max, 100.0);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_min, 60.0);
    const std::size_t moves = codes.size();
    EXPECT_EQ(moves, static_cast<std::size_t>(std::ceil(30.0 / step)));
    for (int i = 0; i < 100; ++i) Wheel(120, Qt::ShiftModifier);  // line left
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_min, 0.0);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_max, 40.0);
    for (AutoNotify c : codes) EXPECT_EQ(c, AutoNotify::ScrolledHorizontally);
}

TEST_F(Navigation, ControlWheelMovesTheTopByATwelfthEachNotch) {
    Wheel(120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, 1100.0 / 12);  // 91.666...
    Wheel(120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, 1100.0 / 12 * 11 / 12);  // 84.027...
    EXPECT_EQ(ctrl->m_fixed_y_min, 0.0);

    ctrl->SetVisibleRangeY(0, 100);
    Wheel(-120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, 1300.0 / 12);  // 108.333...
    EXPECT_EQ(ctrl->m_fixed_x_min, 0.0);
    EXPECT_EQ(ctrl->m_fixed_x_max, 100.0);
    EXPECT_TRUE(codes.empty());
}

TEST_F(Navigation, DoubleClickFitsToTheDataAndIsPassedOn) {
    // Fitting follows the data: X and Y go back to automatic scaling.
    QTest::mouseDClick(ctrl, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(ctrl, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(ctrl->m_auto_x);
    EXPECT_TRUE(ctrl->m_auto_y);
    EXPECT_EQ(parent.seen.front(), QEvent::MouseButtonDblClick);
    Paint();
    EXPECT_LE(ctrl->m_visible_y_min, 20.0);
    EXPECT_GE(ctrl->m_visible_y_max, 70.0);
    EXPECT_LT(ctrl->m_visible_y_max - ctrl->m_visible_y_min, 100.0);

    // With owner extents the axes stay fixed, at the data's range.
    ctrl->SetExtentX(0, 50);
    ctrl->SetExtentY(0, 50);
    QTest::mouseDClick(ctrl, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(ctrl, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_FALSE(ctrl->m_auto_x);
    EXPECT_FALSE(ctrl->m_auto_y);
    EXPECT_EQ(ctrl->m_fixed_x_min, 0.0);
    EXPECT_EQ(ctrl->m_fixed_x_max, 100.0);
    EXPECT_EQ(ctrl->m_fixed_y_min, 20.0);
    EXPECT_EQ(ctrl->m_fixed_y_max, 70.0);
    EXPECT_EQ(ctrl->m_extent_x_max, 100.0);
}

// Ways in which the mouse goes elsewhere in the middle of a rubber band, each followed by
// whatever brings the plot back into use.
struct MouseLoss {
    const char* name;
    std::function<void(CAutoCtrl&)> lose;
};

void PrintTo(const MouseLoss& loss, std::ostream* os) {
    *os << loss.name;
}

class LostMouse : public Navigation, public ::testing::WithParamInterface<MouseLoss> {};

// Whatever took the mouse, no inverted frame is left in the picture, the view is unchanged, a
// release that still comes is no zoom, and the next drag zooms from its own press.
TEST_P(LostMouse, EndsTheRubberBandCleanly) {
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    const PlotRect r = ctrl->m_rect;
    const QPoint a(r.left + 50, r.top + 20), b(r.left + 150, r.top + 120);
    const QImage before = ctrl->RenderImage();
    QTest::mousePress(ctrl, Qt::LeftButton, {}, a);
    QTest::mouseMove(ctrl, b);
    ASSERT_TRUE(ctrl->BandActive());
    ASSERT_NE(ctrl->RenderImage(), before);

    GetParam().lose(*ctrl);
    EXPECT_FALSE(ctrl->BandActive());
    EXPECT_EQ(ctrl->RenderImage(), before);
    QTest::mouseRelease(ctrl, Qt::LeftButton, {}, b);
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(ctrl->m_fixed_x_min, 0.0);
    EXPECT_EQ(ctrl->m_fixed_x_max, 100.0);

    const QPoint c(r.left + 30, r.top + 40), d(r.left + 130, r.top + 140);
    Drag(Qt::LeftButton, c, d);
    EXPECT_EQ(codes, std::vector{AutoNotify::ZoomApplied});
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_x_min, XAt(c.x()));
    EXPECT_DOUBLE_EQ(ctrl->m_fixed_y_max, YAt(c.y()));
}

void ActivateAnotherWindow(CAutoCtrl&) {
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
}

void OpenAndClosePopup(CAutoCtrl& ctrl) {
    QMenu menu;
    menu.addAction("Item");
    menu.popup(ctrl.mapToGlobal(QPoint(40, 40)));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.close();
}

void HideAndShow(CAutoCtrl& ctrl) {
    ctrl.hide();
    ctrl.show();
}

void DisableAndEnable(CAutoCtrl& ctrl) {
    ctrl.setEnabled(false);
    ctrl.setEnabled(true);
}

void MoveWithoutTheButton(CAutoCtrl& ctrl) {
    // Qt passes on moves without a button only under mouse tracking, which the chromatogram
    // graph has on.
    ctrl.setMouseTracking(true);
    const QPointF at(100, 100);
    QMouseEvent move(QEvent::MouseMove, at, ctrl.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&ctrl, &move);
}

const MouseLoss kLosses[] = {
    {"AnotherWindowIsActivated", ActivateAnotherWindow},
    {"APopupOpens", OpenAndClosePopup},
    {"ThePlotIsHidden", HideAndShow},
    {"ThePlotIsDisabled", DisableAndEnable},
    {"AMoveComesWithoutTheButton", MoveWithoutTheButton},
};

INSTANTIATE_TEST_SUITE_P(Losses, LostMouse, ::testing::ValuesIn(kLosses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Navigation, RangeSettersSwitchBetweenFixedAndAutomatic) {
    ctrl->SetVisibleRangeX(5, 5);
    EXPECT_TRUE(ctrl->m_auto_x);
    ctrl->SetVisibleRangeY(3, 1);
    EXPECT_TRUE(ctrl->m_auto_y);
    ctrl->SetExtentX(2, 8);
    EXPECT_FALSE(ctrl->m_fit_x_to_data);
    EXPECT_EQ(ctrl->m_extent_x_max, 8.0);
    ctrl->SetExtentX(1, 0);
    EXPECT_TRUE(ctrl->m_fit_x_to_data);
}

}  // namespace
