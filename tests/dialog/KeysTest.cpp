#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include "DialogFixture.h"
#include "graph/GraphCtrl.h"

namespace {

TEST_F(DialogTest, EscapeEndsMarkingAndNeverClosesTheWindow) {
    CQuelmarDlg& d = Open();
    for (bool marking : {true, false}) {
        d.m_graph->m_markingMode = marking;
        QTest::keyClick(d.Edit(ControlId::Noise), Qt::Key_Escape);
        EXPECT_FALSE(d.m_graph->m_markingMode);
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
    EXPECT_EQ(d.m_analysisTime, 12.0);
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

TEST_F(DialogTest, TextThatCanNeverBeANumberLeavesTheFieldAndSaysSoOnce) {
    CQuelmarDlg& d = Open();
    QLineEdit* noise = d.Edit(ControlId::Noise);
    noise->setFocus();
    noise->selectAll();
    QTest::keyClicks(noise, "0.25");
    EXPECT_EQ(d.m_noise, 0.25);
    QTest::keyClicks(noise, "x");
    EXPECT_EQ(d.m_noise, 0.25);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Введите число."));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QTest::keyClicks(noise, "y");
    QTest::qWait(50);
    EXPECT_FALSE(QToolTip::isVisible());
}

}  // namespace
