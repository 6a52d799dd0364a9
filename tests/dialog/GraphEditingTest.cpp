#include <QMessageBox>
#include <QTableWidget>
#include <QTest>

#include "DialogFixture.h"
#include "dialog/TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "synth/NumberText.h"
#include "table/TablePg.h"

namespace {

// The graph's pixel of a point in data units, after a paint has laid the plot out.
QPoint At(CGraphCtrl& graph, double time, double value) {
    graph.RenderImage();
    return {graph.MapX(time), graph.MapY(value)};
}

class GraphEditing : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        d = &Open();
        graph = d->Graph();
    }
    CTablePg& Page() { return *d->Page(d->CurrentChannel()); }
    const std::vector<GenPeak4>& Peaks() { return PeaksOf(*d, d->CurrentChannel()); }
    void Place(GenPeak4 peak, double width = 0.1) {
        peak.width = width;
        AddPeaks(*d, d->CurrentChannel(), {peak});
    }
    void Click(QPoint at) { QTest::mouseClick(graph, Qt::LeftButton, {}, at); }
    void Drag(QPoint from, std::initializer_list<QPoint> through) {
        QTest::mousePress(graph, Qt::LeftButton, {}, from);
        for (QPoint p : through) QTest::mouseMove(graph, p);
        QTest::mouseRelease(graph, Qt::LeftButton, {}, *std::prev(through.end()));
    }
    QString Cell(int row, int column) { return Page().Grid()->item(row, column)->text(); }

    CQuelmarDlg* d = nullptr;
    CGraphCtrl* graph = nullptr;
};

TEST_F(GraphEditing, MarkingModePlacesPeaksAndAClickOnAnApexPlacesAnother) {
    d->OnMarkPeaks();
    for (double t : {2.0, 5.0, 8.0}) Click(At(*graph, t, 40));
    // A click on the apex of the first peak, still in marking mode: a fourth peak, no drag.
    Click(At(*graph, Peaks()[0].time, Peaks()[0].height));
    EXPECT_FALSE(graph->Dragging());
    ASSERT_EQ(Peaks().size(), 4u);
    for (const GenPeak4& p : Peaks()) {
        EXPECT_EQ(p.name, "Новое вещество");
        EXPECT_EQ(p.width, 0.1);
        EXPECT_LT(p.front, p.time);  // bounds found by the regeneration
        EXPECT_GT(p.back, p.time);
    }
    EXPECT_NEAR(Peaks()[1].time, 5.0, 0.02);
    EXPECT_EQ(Page().Grid()->rowCount(), 4);
    EXPECT_TRUE(graph->MarkingMode());  // placing a peak keeps the mode
}

TEST_F(GraphEditing, AnApexDragMovesTheRowAtOnceAndTheCurveAtRelease) {
    Place(MakeNewPeak(5, 40));
    const Signal4& signal = d->Model().ChannelSignal(0);
    const QPoint apex = At(*graph, 5, 40);
    const QPoint target = At(*graph, 6, 60);
    QTest::mousePress(graph, Qt::LeftButton, {}, apex);
    QTest::mouseMove(graph, target);
    EXPECT_NEAR(Peaks()[0].time, 6.0, 0.02);
    EXPECT_EQ(Cell(0, 1), QString::fromStdString(FormatFixed(Peaks()[0].time, 3)));
    EXPECT_NEAR(signal.samples[500], 40.0f, 1e-4);  // the curve has not moved yet
    QTest::mouseRelease(graph, Qt::LeftButton, {}, target);
    EXPECT_LT(signal.samples[500], 1.0f);
    EXPECT_NEAR(signal.samples[static_cast<std::size_t>(std::lround(Peaks()[0].time * 100))],
                Peaks()[0].height, 0.5);
}

TEST_F(GraphEditing, ABoundDragMakesBoundsManualAndAWidthDragAutomaticAgain) {
    Place(MakeNewPeak(5, 40), 0.3);
    const GenPeak4 before = Peaks()[0];
    Drag(At(*graph, before.front, before.front_base_height), {At(*graph, 4.0, 0)});
    EXPECT_FALSE(Peaks()[0].auto_bounds);
    EXPECT_NEAR(Peaks()[0].front, 4.0, 0.02);
    Type(d->Edit(ControlId::Noise), "0.1");
    EXPECT_NEAR(Peaks()[0].front, 4.0, 0.02);  // kept through regenerations

    // The right window marker 0.2 min right of the apex: width 0.2, bounds automatic again.
    const GenPeak4 now = Peaks()[0];
    Drag(At(*graph, now.window_back, now.window_back_height), {At(*graph, 5.2, 10)});
    EXPECT_TRUE(Peaks()[0].auto_bounds);
    EXPECT_NEAR(Peaks()[0].width, 0.2, 0.02);
    EXPECT_GT(Peaks()[0].front, 4.3);
}

TEST_F(GraphEditing, AWidthDraggedThroughTheApexAndAnApexBelowTheAxisAreIgnored) {
    Place(MakeNewPeak(5, 40), 0.5);
    const GenPeak4 p = Peaks()[0];
    QTest::mousePress(graph, Qt::LeftButton, {}, At(*graph, p.window_back, p.window_back_height));
    QTest::mouseMove(graph, At(*graph, 4.0, 10));
    EXPECT_EQ(Peaks()[0].width, 0.5);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, At(*graph, 4.0, 10));
}

TEST_F(GraphEditing, AClickBetweenOverlappingBoundsSelectsTheLaterPeak) {
    Place(MakeNewPeak(5, 40), 0.5);
    Place(MakeNewPeak(5.1, 30), 0.5);
    Click(At(*graph, 5.05, 90));
    EXPECT_EQ(Page().SelectedRow(), 1);
    EXPECT_EQ(graph->SelectedPeak(), 1);
    const auto rows = Page().Grid()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), 1);
}

TEST_F(GraphEditing, ALostReleaseOrAChannelSwitchEndsTheDragOnce) {
    Place(MakeNewPeak(5, 40));
    int finished = 0;
    auto chained = graph->OnPeakEditFinished;
    graph->OnPeakEditFinished = [&] {
        ++finished;
        chained();
    };
    QTest::mousePress(graph, Qt::LeftButton, {}, At(*graph, 5, 40));
    ASSERT_TRUE(graph->Dragging());
    // The release went elsewhere: the next move comes with no button held.
    QMouseEvent move(QEvent::MouseMove, At(*graph, 6, 50), graph->mapToGlobal(At(*graph, 6, 50)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(graph, &move);
    EXPECT_FALSE(graph->Dragging());
    EXPECT_EQ(finished, 1);
    EXPECT_NEAR(Peaks()[0].time, 5.0, 0.02);  // the stray move changed nothing

    ASSERT_TRUE(d->OnAddChannel());
    d->Tabs()->SetCurSel(0);
    d->OnTabSelChange();
    QTest::mousePress(graph, Qt::LeftButton, {}, At(*graph, 5, 40));
    ASSERT_TRUE(graph->Dragging());
    d->Tabs()->SetCurSel(1);
    d->OnTabSelChange();
    EXPECT_FALSE(graph->Dragging());
    EXPECT_EQ(finished, 2);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, At(*graph, 5, 40));
    EXPECT_EQ(finished, 2);
}

}  // namespace
