#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTemporaryDir>
#include <QToolTip>
#include <QVBoxLayout>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TableTestSupport.h"
#include "table/TablePg.h"

namespace {

using Log = std::vector<std::string>;

const char* NameOf(PeakValue what) {
    switch (what) {
        case PeakValue::Time:
            return "time";
        case PeakValue::Front:
            return "front";
        case PeakValue::Back:
            return "back";
        case PeakValue::Height:
            return "height";
        case PeakValue::Width:
            return "width";
        case PeakValue::Area:
            return "area";
    }
    return "?";
}

// Stands in for the window: logs what the page asks, applies it to its own copy of the peaks
// and shows them again, or refuses with `refusal` when that is set.
struct FakeOwner : ITablePgOwner {
    QString OnPeakValueEdited(CTablePg& edited, int row, PeakValue what, double value) override {
        char text[64];
        std::snprintf(text, sizeof text, "%s %d = %.17g", NameOf(what), row, value);
        log.emplace_back(text);
        if (!refusal.isEmpty()) return refusal;
        GenPeak4& peak = peaks.at(static_cast<std::size_t>(row));
        (what == PeakValue::Time     ? peak.time
         : what == PeakValue::Front  ? peak.front
         : what == PeakValue::Back   ? peak.back
         : what == PeakValue::Height ? peak.height
         : what == PeakValue::Width  ? peak.width
                                     : peak.area) = value;
        edited.ShowPeaks(peaks);
        return {};
    }
    QString OnPeakRenamed(CTablePg&, int row, const std::string& name) override {
        log.push_back("name " + std::to_string(row));
        peaks.at(static_cast<std::size_t>(row)).name = name;
        return refusal;
    }
    void OnRowSelected(CTablePg&, int row) override {
        log.push_back("selected " + std::to_string(row));
    }
    void OnDeleteRequested(CTablePg&) override { log.push_back("delete"); }

    std::vector<GenPeak4> peaks;
    QString refusal;
    Log log;
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

// A page with five peaks "p0" to "p4", in a dialog as in the program, where Escape and Enter
// mean something.
class PageTest : public ::testing::Test {
protected:
    explicit PageTest(int peaks = 5) {
        for (int i = 0; i < peaks; ++i) owner.peaks.push_back(TestPeak(i));
        page.ShowPeaks(owner.peaks);
        (new QVBoxLayout(&window))->addWidget(&page);
        window.resize(760, 240);
        window.show();
        active = QTest::qWaitForWindowActive(&window);
    }

    // Pasted text goes in as the clipboard would put it, typed text key by key.
    void EditCell(int row, int column, const QString& text, bool pasted = false) {
        CGridCtrlEditCell* editor = OpenEditor(*page.Grid(), row, column);
        ASSERT_NE(editor, nullptr);
        owner.log.clear();
        pasted ? editor->insert(text) : TypeText(editor, text);
        PressKey(*editor, Qt::Key_Return);
        DeleteLaterObjects();
    }
    QString Cell(int row, int column) const { return page.Grid()->ItemText(row, column); }

    FakeOwner owner;
    QDialog window;
    CTablePg page{&owner, &window};
    bool active = false;
};

TEST_F(PageTest, NumbersTypedWithAPointOrACommaReachTheOwnerWithTheirColumnsValue) {
    ASSERT_TRUE(active);
    struct Case {
        int column;
        const char* typed;
        const char* asked;
        const char* shown;
    };
    const Case cases[] = {
        {1, "  4.25 ", "time 1 = 4.25", "4.250"}, {2, "3", "front 1 = 3", "3.000"},
        {3, "7,5", "back 1 = 7.5", "7.500"},      {4, "-2e1", "height 1 = -20", "-20.000"},
        {5, "1,5", "width 1 = 1.5", "1.500"},     {6, "20", "area 1 = 20", "20.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EditCell(1, c.column, c.typed);
        // The edited row stays selected when the owner shows the peaks anew.
        EXPECT_EQ(owner.log, (Log{c.asked, "selected 1"}));
        EXPECT_EQ(page.SelectedRows(), std::vector<int>{1});
        EXPECT_EQ(Cell(1, c.column), c.shown);
    }
    EditCell(1, 0, "Бензол");
    EXPECT_EQ(owner.peaks[1].name, "Бензол");
    const QString longName(40000, QChar(0x44F));  // longer than a line edit takes by default
    EditCell(1, 0, longName, true);
    EXPECT_EQ(owner.peaks[1].name, longName.toStdString());
}

TEST_F(PageTest, TextThatIsNotANumberOrThatTheOwnerRefusesRestoresTheCellAndSaysWhy) {
    ASSERT_TRUE(active);
    struct Case {
        int column;
        QString typed;
        const char* refusal;  // the owner's answer; null: it is never asked
    };
    const Case cases[] = {
        {4, "abc", nullptr}, {1, "5abc", nullptr},   {1, "0x10", nullptr},
        {5, "", nullptr},    {6, "1e400", nullptr},  {1, "inf", nullptr},
        {4, "nan", nullptr}, {2, "1,5,2", nullptr},  {5, "0", "не так"},
        {2, "8", "не так"},  {0, "a\x01", "не так"}, {0, QString(QChar(0xD800)), nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        owner.refusal = c.refusal ? QString::fromUtf8(c.refusal) : QString();
        const QString before = Cell(1, c.column);
        const GenPeak4 peak = owner.peaks[1];
        EditCell(1, c.column, c.typed, true);
        EXPECT_EQ(Cell(1, c.column), before);
        EXPECT_EQ(owner.log.size(), c.refusal ? 1u : 0u);
        // Why, at the cell: the owner's reason or "enter a number".
        EXPECT_EQ(QToolTip::text(), c.refusal       ? QString::fromUtf8(c.refusal)
                                    : c.column == 0 ? QToolTip::text()
                                                    : QString::fromUtf8("Введите число."));
        QToolTip::hideText();
    }
}

TEST_F(PageTest, TheKeyboardEditsTheFocusedCellAndDeleteAsksForTheSelectedRows) {
    ASSERT_TRUE(active);
    ClickCell(*page.Grid(), 1, 0);
    ClickCell(*page.Grid(), 3, 4, Qt::ControlModifier);
    EXPECT_EQ(page.SelectedRows(), (std::vector<int>{1, 3}));
    owner.log.clear();
    PressKey(*page.Grid(), Qt::Key_Delete);
    EXPECT_EQ(owner.log, Log{"delete"});

    for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {
        PressKey(*page.Grid(), key);
        ASSERT_NE(page.Grid()->Editor(), nullptr);
        EXPECT_EQ(page.Grid()->Editor()->column, 4);
        PressKey(*page.Grid()->Editor(), Qt::Key_Escape);
        DeleteLaterObjects();
    }
    // Typing starts an edit that holds what was typed, in place of the cell's text.
    owner.log.clear();
    TypeText(page.Grid(), "7");
    ASSERT_NE(page.Grid()->Editor(), nullptr);
    TypeText(page.Grid()->Editor(), ",5");
    PressKey(*page.Grid()->Editor(), Qt::Key_Return);
    DeleteLaterObjects();
    EXPECT_EQ(owner.log.front(), "height 3 = 7.5");
}

struct LongPageTest : PageTest {
    LongPageTest() : PageTest(30) {}
};

TEST_F(LongPageTest, SelectionIsKeptSelectOnlyRowNeitherFocusesNorScrollsShowingPeaksClearsIt) {
    ASSERT_TRUE(active);
    ClickCell(*page.Grid(), 2, 0);
    EXPECT_EQ(page.SelectedRow(), 2);
    EXPECT_EQ(owner.log, Log{"selected 2"});
    page.SelectOnlyRow(25);
    EXPECT_EQ(page.SelectedRow(), 25);
    EXPECT_EQ(page.Grid()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(page.Grid()->currentIndex().row(), 2);
    EXPECT_EQ(page.Grid()->verticalScrollBar()->value(), 0);
    page.ShowPeaks(owner.peaks);
    EXPECT_EQ(page.SelectedRow(), -1);
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
    GenPeak4& peak = owner.peaks[0];
    peak.time = 1.5;
    peak.front = 0.25;
    peak.back = 1234.5678;
    peak.height = -2.0;
    peak.width = 0.0005;
    peak.area = 1e6;
    page.ShowPeaks(owner.peaks);
    const char* shown[] = {"1.500", "0.250", "1234.568", "-2.000", "0.001", "1000000.000"};
    for (int column = 1; column <= 6; ++column) EXPECT_EQ(Cell(0, column), shown[column - 1]);
    EditCell(2, 5, "2.5");
    EXPECT_EQ(owner.peaks[2].width, 2.5);
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
    ClickCell(*page.Grid(), 1, 0);
    PressKey(window, Qt::Key_Escape);
    PressKey(window, Qt::Key_Down, Qt::AltModifier);
    PressKey(window, Qt::Key_S, Qt::AltModifier);
    PressKey(window, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(page.Grid()->currentIndex().row(), 1);
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(altGrShortcuts, 1);

    QPointer<CGridCtrlEditCell> editor = OpenEditor(*page.Grid(), 1, 0);
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
    EXPECT_EQ(owner.peaks[1].name, "p1");
}

}  // namespace
