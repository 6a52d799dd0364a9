#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QtEndian>
#include <cstring>

#include <QMenuBar>
#include "DialogFixture.h"
#include "dialog/DialogTemplate.h"
#include "graph/GraphCtrl.h"

namespace {

QByteArray DoubleBytes(double value) {
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    return bytes;
}

QByteArray RectBytes(qint32 left, qint32 top, qint32 right, qint32 bottom) {
    QByteArray bytes(16, '\0');
    const qint32 edges[4] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i) qToLittleEndian(edges[i], bytes.data() + 4 * i);
    return bytes;
}

QStringList EditTexts(const CQuelmarDlg& d) {
    QStringList texts;
    for (ControlId id :
         {ControlId::AnalysisTime, ControlId::SampleRate, ControlId::Noise, ControlId::Drift})
        texts << d.Edit(id)->text();
    return texts;
}

QSize TemplateSize(const CQuelmarDlg& d) {
    return QSize(1073, 528 + d.MenuBar()->height());
}

TEST_F(DialogTest, FirstStartShowsTheDefaultsAtTheTemplateSize) {
    CQuelmarDlg& d = Open();
    EXPECT_EQ(EditTexts(d), (QStringList{"10", "100", "0", "0"}));
    // 613 x 325 dialog units with base units 7 x 13 under the menu bar; narrower down to a
    // 1024-pixel screen.
    EXPECT_EQ(d.size(), TemplateSize(d));
    EXPECT_EQ(d.minimumSize(), QSize(1000, 528 + d.MenuBar()->height()));
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Без имени — Генератор хроматограммы  ") +
                                   CQuelmarDlg::GetVersionString());
    EXPECT_TRUE(CQuelmarDlg::GetVersionString().contains(
        QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$")));
}

TEST_F(DialogTest, ValuesOfTheWrongSizeOrTypeAreIgnored) {
    Store("WState", RectBytes(10, 10, 900, 700).left(12));
    Store("LastTime", DoubleBytes(25).left(4));
    Store("SampleRate", QString("200"));  // a string, not bytes
    CQuelmarDlg& d = Open();
    EXPECT_EQ(EditTexts(d).mid(0, 2), (QStringList{"10", "100"}));
    EXPECT_EQ(d.size(), TemplateSize(d));

    Store("WState", RectBytes(10, 10, 900, 700) + QByteArray(4, '\0'));
    EXPECT_EQ(Open().size(), TemplateSize(*m_dialog));
}

TEST_F(DialogTest, ValuesWrittenAtCloseReadBackAtTheNextStart) {
    CQuelmarDlg& d = Open();
    d.setGeometry(40, 50, 1200, 600);
    const QRect frame = d.frameGeometry();  // the window manager's margins around the client
    Enter(d.Edit(ControlId::AnalysisTime), "12.5");
    Enter(d.Edit(ControlId::SampleRate), " 250 ");
    AnswerNextQuestion(QMessageBox::Discard);
    d.done(0);
    EXPECT_EQ(Stored("WState").toByteArray(),
              RectBytes(frame.left(), frame.top(), frame.left() + frame.width(),
                        frame.top() + frame.height()));
    EXPECT_EQ(Stored("LastTime").toByteArray(), DoubleBytes(12.5));
    EXPECT_EQ(Stored("SampleRate").toByteArray(), DoubleBytes(250));

    CQuelmarDlg& again = Open();
    QCoreApplication::processEvents();  // the stored frame is applied once the window is shown
    // The frame comes back where it was, not moved or grown by the margins.
    EXPECT_EQ(again.frameGeometry(), frame);
    EXPECT_EQ(EditTexts(again).mid(0, 2), (QStringList{"12.5", "250"}));
}

TEST_F(DialogTest, AnOffScreenOrEmptyRectangleFallsBackToTheDefaultPlacement) {
    for (const QByteArray& rect : {RectBytes(-30000, -30000, -28800, -29400),
                                   RectBytes(100, 100, 100, 700), RectBytes(500, 500, 100, 100)}) {
        Store("WState", rect);
        CQuelmarDlg& d = Open();
        QCoreApplication::processEvents();
        EXPECT_EQ(d.size(), TemplateSize(d));
        EXPECT_TRUE(d.frameGeometry().intersects(d.screen()->availableGeometry()));
    }
}

TEST_F(DialogTest, StoredTimeAndRateTheHandlersWouldRefuseAreNotRestored) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double time, rate;
        const char* shown_time;
        const char* shown_rate;
    };
    for (const Case& c :
         {Case{0, 50, "10", "50"}, Case{-1, 100, "10", "100"}, Case{std::nan(""), 100, "10", "100"},
          Case{inf, 100, "10", "100"}, Case{5, 0.5, "5", "100"}, Case{1e9, 1e3, "10", "1000"},
          // 48 million samples pass; 56 million do not, so only the time,
          // which fits with the default rate, is kept.
          Case{600, 80000, "600", "80000"}, Case{700, 80000, "700", "100"}}) {
        Store("LastTime", DoubleBytes(c.time));
        Store("SampleRate", DoubleBytes(c.rate));
        EXPECT_EQ(EditTexts(Open()).mid(0, 2), (QStringList{c.shown_time, c.shown_rate}))
            << c.time << " " << c.rate;
    }
}

TEST_F(DialogTest, ControlsFollowTheirResizeRulesFromTheTemplateRectangles) {
    CQuelmarDlg& d = Open();
    d.resize(TemplateSize(d) + QSize(200, 100));
    const int m = d.MenuBar()->height();
    struct Case {
        ControlId id;
        QRect rect;
    };
    // Template rectangles at 7 x 13 base units, edges rounded, then moved and grown by the
    // whole change of 200 x 100 pixels.
    for (const Case& c : {
             Case{ControlId::Graph, QRect(12, 11 + m, 1049 + 200, 329 + 100)},
             Case{ControlId::Tabs, QRect(46, 340 + 100 + m, 815 + 200, 157)},
             Case{ControlId::MarkPeaks, QRect(12, 361 + 100 + m, 32, 23)},
             Case{ControlId::Save, QRect(12, 475 + 100 + m, 32, 22)},
             Case{ControlId::ParametersGroup, QRect(861 + 200, 338 + 100 + m, 200, 159)},
             Case{ControlId::AnalysisTime, QRect(991 + 200, 384 + 100 + m, 70, 22)},
             Case{ControlId::AnalysisTimeLabel, QRect(868 + 200, 388 + 100 + m, 117, 13)},
             Case{ControlId::Drift, QRect(991 + 200, 455 + 100 + m, 70, 23)},
             Case{ControlId::StatusLine, QRect(12, 504 + 100 + m, 1049 + 200, 18)},
         })
        EXPECT_EQ(d.Control(c.id)->geometry(), c.rect) << static_cast<int>(c.id);
}

TEST_F(DialogTest, LabelsFitTheirRectanglesInTheDialogFontAtTheNarrowestWidth) {
    CQuelmarDlg& d = Open();
    d.resize(d.minimumSize());
    EXPECT_LE(d.frameGeometry().width(), 1024);
    for (ControlId id : {ControlId::AnalysisTimeLabel, ControlId::SampleRateLabel,
                         ControlId::NoiseLabel, ControlId::DriftLabel}) {
        auto* label = static_cast<QLabel*>(d.Control(id));
        const QFontMetrics fm(label->font());
        EXPECT_LE(fm.horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
        EXPECT_LE(fm.height(), label->height());
    }
    // Nothing overlaps the parameter group or leaves the window.
    const QRect group = d.Control(ControlId::ParametersGroup)->geometry();
    EXPECT_LE(d.Control(ControlId::Tabs)->geometry().right(), group.left());
    EXPECT_LE(group.right(), d.width());
}

TEST_F(DialogTest, NoButtonIsADefaultButton) {
    CQuelmarDlg& d = Open();
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->autoDefault());
        EXPECT_FALSE(b->isDefault());
    }
}

}  // namespace
