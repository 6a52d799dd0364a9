#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TableTestSupport.h"
#include "synth/Regeneration.h"
#include "table/TablePg.h"

namespace {

using Log = std::vector<std::string>;

// Stands in for the dialog with three channels of 11 samples at step 1 from 0, all 0 but sample
// 5, which is 5, 3 and 2 on channels 0, 1 and 2: an area around sample 5 tells them apart.
struct FakeDialog : ITablePgOwner {
    FakeDialog() { ResetSignals(); }
    void ResetSignals() {
        channel_signals.clear();
        for (const float spike : {5.0f, 3.0f, 2.0f}) {
            std::vector<float> samples(11, 0.0f);
            samples[5] = spike;
            channel_signals.emplace_back(1.0, 0.0, samples.data(), samples.size());
        }
    }
    void RegenerateChannel(int index) override {
        log.push_back("regenerate " + std::to_string(index));
        RegenerateSignal(channel_signals.at(index), page->m_peaks, 0.0, 0.0);
        page->RefreshRows();
    }
    void ApplyPeakArea(GenPeak4& peak, int index) override {
        log.push_back("fit to " + std::to_string(int(peak.area)) + " on " + std::to_string(index));
    }
    Signal4* ChannelSignal(int index) override {
        log.push_back("signal of " + std::to_string(index));
        return &channel_signals.at(index);
    }
    void InvalidateDialog() override { log.push_back("invalidate"); }

    std::vector<Signal4> channel_signals;
    Log log;
    CTablePg* page = nullptr;
};

GenPeak4 TestPeak(int number) {
    GenPeak4 peak;
    peak.name = "p" + std::to_string(number);
    peak.time = 5.0;
    peak.height = peak.width = 1.0;
    peak.front = 2.0;
    peak.back = 8.0;
    peak.left = peak.right = -1;
    peak.auto_bounds = true;
    return peak;
}

// The page of channel 2 with five peaks "p0" to "p4", in a dialog as in the program, where
// Escape and Enter mean something.
class PageTest : public ::testing::Test {
protected:
    explicit PageTest(int peaks = 5) {
        owner.page = &page;
        for (int i = 0; i < peaks; ++i) page.m_peaks.push_back(TestPeak(i));
        page.RefreshRows();
        (new QVBoxLayout(&window))->addWidget(&page);
        window.resize(760, 240);
        window.show();
        active = QTest::qWaitForWindowActive(&window);
    }

    // Pasted text goes in as the clipboard would put it, typed text key by key.
    void EditCell(int row, int column, const QString& text, bool pasted = false) {
        CGridCtrlEditCell* editor = OpenEditor(*page.m_grid, row, column);
        ASSERT_NE(editor, nullptr);
        owner.log.clear();
        pasted ? editor->insert(text) : TypeText(editor, text);
        PressKey(*editor, Qt::Key_Return);
        DeleteLaterObjects();
    }
    QString Cell(int row, int column) const { return page.m_grid->ItemText(row, column); }

    FakeDialog owner;
    QDialog window;
    CTablePg page{&owner, 2, &window};
    bool active = false;
};

TEST_F(PageTest, EditsChangeThePeakAndActOnThePagesOwnChannel) {
    ASSERT_TRUE(active);
    struct Case {
        int channel;  // the page's number when the edit is made
        int column;
        const char* typed;
        const char* cell;  // what the row shows afterwards
        Log log;
    };
    // Bounds 3 to 8 or 2 to 7 hold sample 5's triangle of base 2 over a zero baseline: area 5,
    // 3 or 2 on channel 0, 1 or 2.
    const Case cases[] = {
        {2, 4, "abc", "0.000", {"regenerate 2"}},
        {2, 5, "1,5", "1.000", {"regenerate 2"}},
        {2, 1, "  4.25xyz", "4.250", {"regenerate 2"}},
        {2, 6, "3", nullptr, {"fit to 3 on 2", "regenerate 2"}},  // the area is measured anew
        {2, 2, "3", "3.000", {"signal of 2", "invalidate"}},
        {2, 3, "7", "7.000", {"signal of 2", "invalidate"}},
        {1, 2, "3", "3.000", {"signal of 1", "invalidate"}},  // renumbered: channel 0 went
    };
    const char* measuredArea[3] = {"5.000", "3.000", "2.000"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        owner.ResetSignals();
        page.m_channelNumber = c.channel;
        page.m_peaks[1] = TestPeak(1);
        page.RefreshRows();
        EditCell(1, c.column, c.typed);
        EXPECT_EQ(owner.log, c.log);
        if (c.cell) {
            EXPECT_EQ(Cell(1, c.column), c.cell);
        }
        const bool bound = c.column == 2 || c.column == 3;
        EXPECT_EQ(page.m_peaks[1].auto_bounds, !bound);
        if (bound) {
            EXPECT_EQ(Cell(1, 6), measuredArea[c.channel]);
        }
    }
    EditCell(1, 0, "Бензол");
    EXPECT_EQ(page.m_peaks[1].name, "Бензол");
    const QString longName(40000, QChar(0x44F));  // longer than a line edit takes by default
    EditCell(1, 0, longName, true);
    EXPECT_EQ(page.m_peaks[1].name, longName.toStdString());
    EXPECT_EQ(owner.log, Log{});
}

TEST_F(PageTest, ValuesThatWouldPoisonTheSignalAreRefusedAndTheCellRestored) {
    ASSERT_TRUE(active);
    struct Case {
        int column;
        QString typed;
    };
    const Case cases[] = {{1, "inf"},
                          {4, "nan"},
                          {6, "1e400"},
                          {2, "-infinity"},
                          {5, "0"},
                          {5, "-1"},
                          {5, ""},
                          {4, "1e39"},
                          {4, "-3.5e38"},
                          {1, QString(400, '9')},
                          {0, QString(QChar(0xD800))}};  // half a surrogate pair: no UTF-8
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.left(12).toStdString());
        page.m_peaks[1] = TestPeak(1);
        page.RefreshRows();
        const QString before = Cell(1, c.column);
        EditCell(1, c.column, c.typed, true);
        const GenPeak4 expected = TestPeak(1);
        const GenPeak4& peak = page.m_peaks[1];
        EXPECT_EQ(Cell(1, c.column), before);
        EXPECT_EQ(peak.name, expected.name);
        for (double GenPeak4::*field : std::initializer_list<double GenPeak4::*>{
                 &GenPeak4::time, &GenPeak4::front, &GenPeak4::back, &GenPeak4::height,
                 &GenPeak4::width, &GenPeak4::area}) {
            EXPECT_EQ(peak.*field, expected.*field);
        }
        EXPECT_EQ(owner.log, Log{});
    }
}

TEST_F(PageTest, DeletingSelectedRowsRemovesTheirPeaksAndLeavesTheRows) {
    ASSERT_TRUE(active);
    ClickCell(*page.m_grid, 1, 0);
    ClickCell(*page.m_grid, 3, 0, Qt::ControlModifier);
    page.DeleteSelectedPeaks();
    std::vector<std::string> names;
    for (const GenPeak4& peak : page.m_peaks) names.push_back(peak.name);
    EXPECT_EQ(names, (std::vector<std::string>{"p0", "p2", "p4"}));
    EXPECT_EQ(page.m_grid->rowCount(), 5);
}

struct LongPageTest : PageTest {
    LongPageTest() : PageTest(30) {}
};

TEST_F(LongPageTest, SelectionIsKeptSelectOnlyRowNeitherFocusesNorScrollsARefreshClearsIt) {
    ASSERT_TRUE(active);
    ClickCell(*page.m_grid, 2, 0);
    EXPECT_EQ(page.m_selectedRow, 2);
    EXPECT_EQ(owner.log, Log{"invalidate"});
    page.SelectOnlyRow(25);
    EXPECT_EQ(page.m_selectedRow, 25);
    EXPECT_EQ(page.m_grid->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(page.m_grid->currentIndex().row(), 2);
    EXPECT_EQ(page.m_grid->verticalScrollBar()->value(), 0);
    page.RefreshRows();
    EXPECT_EQ(page.m_selectedRow, -1);
}

// Sets LC_NUMERIC to a locale with a decimal comma, compiling one when none is installed.
bool UseCommaLocale(const QTemporaryDir& folder) {
    if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8")) return true;
    const QString make = "localedef -i ru_RU -f UTF-8 " + folder.path() + "/ru_RU.UTF-8";
    if (std::system((make + " 2>/dev/null").toLocal8Bit().constData()) != 0) return false;
    qputenv("LOCPATH", folder.path().toLocal8Bit());
    return std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
}

TEST_F(PageTest, NumbersAreShownAndReadWithAPointUnderACommaLocale) {
    ASSERT_TRUE(active);
    QTemporaryDir folder;
    if (!UseCommaLocale(folder)) GTEST_SKIP() << "no locale with a decimal comma";
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");
    GenPeak4& peak = page.m_peaks[0];
    peak.time = 1.5;
    peak.front = 0.25;
    peak.back = 1234.5678;
    peak.height = -2.0;
    peak.width = 0.0005;
    peak.area = 1e6;
    page.RefreshRows();
    const char* shown[] = {"1.500", "0.250", "1234.568", "-2.000", "0.001", "1000000.000"};
    for (int column = 1; column <= 6; ++column) EXPECT_EQ(Cell(0, column), shown[column - 1]);
    EditCell(2, 5, "2.5");
    EXPECT_EQ(page.m_peaks[2].width, 2.5);
    std::setlocale(LC_NUMERIC, "C");
}

TEST_F(PageTest, EscapeAndAltAreSwallowedWhileAltGrAndTheEditorsKeysGetThrough) {
    ASSERT_TRUE(active);
    auto* save = new QPushButton("&Save");
    window.layout()->addWidget(save);
    int saves = 0, altGrShortcuts = 0;
    QObject::connect(save, &QPushButton::clicked, [&] { ++saves; });
    QObject::connect(new QShortcut(QKeySequence("Ctrl+Alt+S"), &window), &QShortcut::activated,
                     [&] { ++altGrShortcuts; });
    ClickCell(*page.m_grid, 1, 0);
    PressKey(window, Qt::Key_Escape);
    PressKey(window, Qt::Key_Down, Qt::AltModifier);
    PressKey(window, Qt::Key_S, Qt::AltModifier);
    PressKey(window, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(page.m_grid->currentIndex().row(), 1);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(altGrShortcuts, 1);

    QPointer<CGridCtrlEditCell> editor = OpenEditor(*page.m_grid, 1, 0);
    ASSERT_NE(editor, nullptr);
    // AltGr+S of a Polish layout as Windows reports it: Control, Alt and the letter.
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_S, QString("ś"),
                        Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(editor->text(), "ś");
    EXPECT_EQ(altGrShortcuts, 1);
    PressKey(window, Qt::Key_Escape);
    DeleteLaterObjects();
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(page.m_peaks[1].name, "p1");
}

}  // namespace
