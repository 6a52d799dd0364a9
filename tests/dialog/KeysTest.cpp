#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "DialogFixture.h"
#include "graph/GraphCtrl.h"

namespace {

TEST_F(DialogTest, EscapeEndsMarkingAndNeverClosesTheWindow) {
    CQuelmarDlg& d = Open();
    for (bool marking : {true, false}) {
        if (marking != d.Graph()->MarkingMode()) d.OnMarkPeaks();
        QTest::keyClick(d.Edit(ControlId::Noise), Qt::Key_Escape);
        EXPECT_FALSE(d.Graph()->MarkingMode());
        EXPECT_FALSE(static_cast<QPushButton*>(d.Control(ControlId::MarkPeaks))->isChecked());
        EXPECT_TRUE(d.isVisible());
    }
}

TEST_F(DialogTest, EscapeStillClosesTheWindowsOpenedOverTheMainWindow) {
    CQuelmarDlg& d = Open();
    QDialog child(&d);
    child.show();
    QTest::keyClick(&child, Qt::Key_Escape);
    EXPECT_FALSE(child.isVisible());
    EXPECT_TRUE(d.isVisible());
}

TEST_F(DialogTest, EnterInAnEditAppliesItsValueAndKeepsTheWindowOpen) {
    CQuelmarDlg& d = Open();
    QLineEdit* time = d.Edit(ControlId::AnalysisTime);
    time->setFocus();
    time->selectAll();
    QTest::keyClicks(time, "12");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(time, key);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Model().AnalysisTime(), 12.0);
}

TEST_F(DialogTest, AltCombinationsAreSwallowedButAltGrStillTypes) {
    CQuelmarDlg& d = Open();
    QLineEdit* drift = d.Edit(ControlId::Drift);
    drift->setFocus();
    drift->clear();
    QTest::keyClick(drift, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(drift, Qt::Key_1, Qt::AltModifier);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(drift->text(), "");
    // AltGr as Windows reports it: Control with Alt.
    QTest::keyClick(drift, Qt::Key_2, Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(drift->text(), "2");
}

}  // namespace
