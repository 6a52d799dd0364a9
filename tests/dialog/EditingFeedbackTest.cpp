#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

#include "DialogFixture.h"
#include "dialog/SaveFileChooser.h"
#include "dialog/TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "table/TablePg.h"
#include "tests/table/TableTestSupport.h"

namespace {

QPoint At(CGraphCtrl& graph, double time, double value) {
    graph.RenderImage();
    return {graph.MapX(time), graph.MapY(value)};
}

class Feedback : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        d = &Open();
        graph = d->Graph();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    }
    CGridCtrl& Grid() { return *d->Page(d->CurrentChannel())->Grid(); }
    // Types into a cell as a user does: focus the row, double-click the cell, type, Enter.
    void EditCell(int row, int column, const QString& text) {
        CGridCtrlEditCell* editor = OpenEditor(Grid(), row, column);
        ASSERT_NE(editor, nullptr);
        TypeText(editor, text);
        PressKey(*editor, Qt::Key_Return);
        DeleteLaterObjects();
    }

    CQuelmarDlg* d = nullptr;
    CGraphCtrl* graph = nullptr;
};

TEST_F(Feedback, WithDriftTheApexSitsOnTheCurveAndAClickGivesThePeakItsOwnHeight) {
    Type(d->Edit(ControlId::Drift), "7");
    d->OnMarkPeaks();
    // At 5 minutes drift 7 adds 35 mV: a click at 60 mV places a peak 25 mV high.
    QTest::mouseClick(graph, Qt::LeftButton, {}, At(*graph, 5, 60));
    ASSERT_EQ(PeaksOf(*d, 0).size(), 1u);
    const GenPeak4& peak = PeaksOf(*d, 0)[0];
    EXPECT_NEAR(peak.height, 25.0, 0.3);
    const QPoint apex = At(*graph, peak.time, peak.height + 7 * peak.time);
    const QColor mark = graph->RenderImage().pixelColor(apex);
    EXPECT_TRUE(mark == QColor(96, 96, 96) || mark == QColor(38, 213, 153));
    // The curve passes through the dot.
    const float sample = SamplesOf(*d, 0)[static_cast<std::size_t>(std::lround(peak.time * 100))];
    EXPECT_NEAR(sample, peak.height + 7 * peak.time, 0.5);
}

TEST_F(Feedback, ADragHoldsAtThePlotsEdgeIgnoresTheRightButtonAndEscapePutsThePeakBack) {
    AddPeaks(*d, 0, {MakeNewPeak(5, 40)});
    const std::size_t steps = d->Model().History().UndoCount();
    QTest::mousePress(graph, Qt::LeftButton, {}, At(*graph, 5, 40));
    QTest::mouseMove(graph, QPoint(graph->width() + 50, At(*graph, 5, 40).y()));
    EXPECT_NEAR(PeaksOf(*d, 0)[0].time, 10.0, 0.05);  // the plot's right edge
    QTest::mousePress(graph, Qt::RightButton, {}, At(*graph, 6, 50));
    EXPECT_FALSE(graph->BandActive());
    QTest::mouseRelease(graph, Qt::RightButton, {}, At(*graph, 6, 50));
    EXPECT_TRUE(graph->Dragging());
    QTest::keyClick(graph, Qt::Key_Escape);
    EXPECT_FALSE(graph->Dragging());
    EXPECT_EQ(PeaksOf(*d, 0)[0].time, 5.0);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, At(*graph, 8, 40));
    EXPECT_EQ(PeaksOf(*d, 0)[0].time, 5.0);
    EXPECT_EQ(d->Model().History().UndoCount(), steps);
}

TEST_F(Feedback, AfterDeletingAllPeaksTheViewFitsTheCurveAgain) {
    Type(d->Edit(ControlId::Drift), "-20");
    AddPeaks(*d, 0, {MakeNewPeak(5, 40)});
    graph->SetVisibleRangeX(4, 6);
    graph->SetVisibleRangeY(30, 40);
    d->OnDeleteAllPeaks();
    EXPECT_EQ(graph->m_fixed_x_min, 0.0);
    EXPECT_EQ(graph->m_fixed_x_max, 10.0);
    EXPECT_LE(graph->m_fixed_y_min, -199.8);  // the drift's end
    EXPECT_EQ(graph->m_fixed_y_max, 100.0);
}

TEST_F(Feedback, CellsRefuseBoundsThatMakeNoSenseAndSayWhy) {
    AddPeaks(*d, 0, {MakeNewPeak(5, 40)});
    const GenPeak4 before = PeaksOf(*d, 0)[0];
    for (const auto& [column, text, reason] :
         {std::tuple{2, "8", "раньше его конца"}, std::tuple{2, "5.2", "между началом и концом"},
          std::tuple{2, "-3", "внутри анализа"}, std::tuple{3, "4", "раньше его конца"}}) {
        SCOPED_TRACE(text);
        EditCell(0, column, text);
        EXPECT_EQ(PeaksOf(*d, 0)[0].front, before.front);
        EXPECT_EQ(PeaksOf(*d, 0)[0].back, before.back);
        EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8(reason)))
            << QToolTip::text().toStdString();
        QToolTip::hideText();
    }
}

TEST_F(Feedback, ATypedAreaLandsOnTheAreaTypedOrIsRefusedWithTheReason) {
    Type(d->Edit(ControlId::Noise), "0.1");
    AddPeaks(*d, 0, {MakeNewPeak(5, 40)});
    for (const double typed : {5.0, 20.0}) {
        EditCell(0, 6, QString::number(typed));
        EXPECT_NEAR(PeaksOf(*d, 0)[0].area, typed, typed * 1e-6);
    }
    const GenPeak4 before = PeaksOf(*d, 0)[0];
    for (const auto& [text, reason] : {std::pair{"1e9", "наибольшая"}, std::pair{"-5", "больше 0"},
                                       std::pair{"0", "больше 0"}}) {
        SCOPED_TRACE(text);
        EditCell(0, 6, text);
        EXPECT_EQ(PeaksOf(*d, 0)[0].width, before.width);
        EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8(reason)))
            << QToolTip::text().toStdString();
        QToolTip::hideText();
    }
}

TEST_F(Feedback, DeleteRemovesTheSelectedPeaksAndTheButtonCommitsAnOpenEditFirst) {
    AddPeaks(*d, 0, {MakeNewPeak(2, 10), MakeNewPeak(5, 20), MakeNewPeak(8, 30)});
    CGridCtrlEditCell* editor = OpenEditor(Grid(), 1, 4);
    ASSERT_NE(editor, nullptr);
    TypeText(editor, "55");
    QTest::mouseClick(static_cast<QPushButton*>(d->Control(ControlId::DeletePeak)), Qt::LeftButton);
    DeleteLaterObjects();
    ASSERT_EQ(PeaksOf(*d, 0).size(), 2u);
    EXPECT_EQ(PeaksOf(*d, 0)[1].height, 30.0);
    // The edit went in as a step of its own before the deletion.
    ASSERT_TRUE(d->Apply([](CGeneratorModel& m) { return m.Undo(); }));
    EXPECT_EQ(PeaksOf(*d, 0)[1].height, 55.0);

    ClickCell(Grid(), 0, 0);
    PressKey(Grid(), Qt::Key_Delete);
    ASSERT_EQ(PeaksOf(*d, 0).size(), 2u);
    EXPECT_EQ(PeaksOf(*d, 0)[0].height, 55.0);
}

TEST_F(Feedback, TabFollowsTheLayout) {
    graph->setFocus();
    std::vector<QWidget*> order{graph};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    const std::vector<QWidget*> expected{
        graph,
        d->Tabs()->Bar(),
        d->Page(0)->Grid(),
        d->Control(ControlId::MarkPeaks),
        d->Control(ControlId::DeletePeak),
        d->Control(ControlId::DeleteAllPeaks),
        d->Control(ControlId::AddChannel),
        d->Control(ControlId::DeleteChannel),
        d->Control(ControlId::Save),
        d->Control(ControlId::Components),
        d->Edit(ControlId::AnalysisTime),
        d->Edit(ControlId::SampleRate),
        d->Edit(ControlId::Noise),
    };
    EXPECT_EQ(order, expected);
}

// Counts the progress windows a save shows (polished once they are whole).
class ProgressWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildPolished &&
            qobject_cast<QProgressDialog*>(static_cast<QChildEvent*>(event)->child()))
            ++shown;
        return false;
    }
    int shown = 0;
};

class FixedPath final : public ISaveFileChooser {
public:
    explicit FixedPath(QString path) : m_path(std::move(path)) {}
    QString ChoosePath(QWidget*) override { return m_path; }
    QString ChooseExportPath(QWidget*, const QString&, const QString&) override { return m_path; }

private:
    QString m_path;
};

TEST_F(Feedback, ALongSaveShowsProgressWhileTheWindowKeepsPainting) {
    QTemporaryDir folder;
    Type(d->Edit(ControlId::SampleRate), "200000");  // 2,000,000 samples: 8 MB to write
    d->SetProgressDelay(0);
    d->SetSaveFileChooser(std::make_unique<FixedPath>(folder.filePath("long.xstg")));
    ProgressWatch watch;
    d->installEventFilter(&watch);
    d->OnSave();
    EXPECT_EQ(watch.shown, 1);
    EXPECT_TRUE(d->StatusText().startsWith(QString::fromUtf8("Сохранено")));
}

}  // namespace
