#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QToolTip>

#include "DialogFixture.h"
#include "dialog/TabCtrl.h"
#include "graph/GraphCtrl.h"

namespace {

bool InEffect(QLineEdit* edit) {
    return edit->property("inEffect").toBool();
}

TEST_F(DialogTest, ARefusedTextIsMarkedWithItsReasonAndTheValueInEffectUntilTheEditIsLeft) {
    struct Case {
        ControlId id;
        const char* typed;      // key by key
        const char* in_effect;  // what the edit shows again on Enter
        const char* reason;     // part of the tool-tip's first line
    };
    const Case cases[] = {
        {ControlId::SampleRate, "0.5", "100", "не меньше 1 отсчёта"},
        {ControlId::AnalysisTime, "0", "10", "больше 0"},
        {ControlId::AnalysisTime, "-5", "10", "больше 0"},
        {ControlId::Noise, "-1", "0", "отрицательным"},
        // "1e3" was applied on the way; "1e30" and "1e308" are not.
        {ControlId::AnalysisTime, "1e308", "1000", "длиннее 50000000 отсчётов"},
        {ControlId::AnalysisTime, "inf", "10", "Введите число"},
        {ControlId::Drift, "1e38", "1000", "за пределы их точности"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CQuelmarDlg& d = Open();
        QLineEdit* edit = d.Edit(c.id);
        Type(edit, c.typed);
        EXPECT_EQ(edit->text(), c.typed);
        EXPECT_FALSE(InEffect(edit));
        EXPECT_TRUE(edit->toolTip().contains(QString::fromUtf8(c.reason)))
            << edit->toolTip().toStdString();
        EXPECT_TRUE(edit->toolTip().endsWith(QString::fromUtf8("Действует: ") + c.in_effect));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(edit->text(), c.in_effect);
        EXPECT_TRUE(InEffect(edit));
        EXPECT_EQ(d.Model().ChannelSignal(0).Size(),
                  static_cast<std::size_t>(d.Model().AnalysisTime() * d.Model().SampleRate()));
        QToolTip::hideText();
    }
}

TEST_F(DialogTest, ADecimalCommaIsADecimalPoint) {
    CQuelmarDlg& d = Open();
    Type(d.Edit(ControlId::AnalysisTime), "5,5");
    EXPECT_EQ(d.Model().AnalysisTime(), 5.5);
    EXPECT_EQ(SamplesOf(d, 0).size(), 550u);
    EXPECT_TRUE(InEffect(d.Edit(ControlId::AnalysisTime)));
    Type(d.Edit(ControlId::Noise), "0,25");
    EXPECT_EQ(d.Model().Working(0).noise, 0.25);
}

TEST_F(DialogTest, TheAxesFitTheRunAfterEveryTimeOrRateChange) {
    CQuelmarDlg& d = Open();
    Type(d.Edit(ControlId::SampleRate), "0.5");  // refused: the rate stays 100
    Type(d.Edit(ControlId::AnalysisTime), "20");
    Type(d.Edit(ControlId::SampleRate), "100");
    EXPECT_EQ(SamplesOf(d, 0).size(), 2000u);
    EXPECT_EQ(d.Graph()->m_fixed_x_max, 20.0);
    d.Graph()->SetVisibleRangeX(2, 3);
    Type(d.Edit(ControlId::SampleRate), "200");
    EXPECT_EQ(d.Graph()->m_fixed_x_min, 0.0);
    EXPECT_EQ(d.Graph()->m_fixed_x_max, 20.0);
}

TEST_F(DialogTest, OnlyTheCurrentChannelsCurveIsDrawnAfterATimeOrRateChange) {
    CQuelmarDlg& d = Open();
    ASSERT_TRUE(d.OnAddChannel());
    d.Tabs()->Bar()->setCurrentIndex(0);
    for (ControlId id : {ControlId::AnalysisTime, ControlId::SampleRate}) {
        Type(d.Edit(id), "12");
        EXPECT_FALSE(d.Graph()->Series(0).m_hidden);
        EXPECT_TRUE(d.Graph()->Series(1).m_hidden);
    }
}

}  // namespace
