#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>
#include <map>

#include "TableTestSupport.h"

namespace {

// Records what the grid says, with the cell's text and the scroll position at that moment.
struct RecordingOwner : IGridOwner {
    struct Heard {
        GridNotify code;
        int row, column, value;
        QString cell;
        int scrolled;
    };
    int OnGridNotify(CGridCtrl& grid, GridNotification& n) override {
        heard.push_back({n.code, n.row, n.column, n.value, grid.ItemText(n.row, n.column),
                         grid.verticalScrollBar()->value()});
        return answers[n.code];
    }
    std::vector<Heard> Of(GridNotify code) const {
        std::vector<Heard> found;
        for (const Heard& h : heard) {
            if (h.code == code) found.push_back(h);
        }
        return found;
    }
    std::map<GridNotify, int> answers{{GRID_BEGINEDIT, 1}, {GRID_ENDEDIT, 1}};
    std::vector<Heard> heard;
};

// A line edit above a tab widget whose first tab is a grid of 40 rows (more than fit) and three
// columns aligned left, right and centred, with texts "r<row>c<column>".
class GridTest : public ::testing::Test {
public:
    GridTest() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(other);
        layout->addWidget(tabs);
        tabs->addTab(grid, "1");
        tabs->addTab(new QWidget, "2");
        grid->SetOwner(&owner);
        grid->AddColumn("left", Qt::AlignLeft, 80);
        grid->AddColumn("right", Qt::AlignRight, 80);
        grid->AddColumn("centre", Qt::AlignHCenter, 80);
        grid->setRowCount(40);
        for (int row = 0; row < 40; ++row) {
            for (int column = 0; column < 3; ++column) {
                grid->SetItemText(row, column, QString("r%1c%2").arg(row).arg(column));
            }
        }
        window.resize(360, 300);
        window.show();
        active = QTest::qWaitForWindowActive(&window);
    }

    RecordingOwner owner;  // outlives the window, which still reports while it closes
    QWidget window;
    QLineEdit* other = new QLineEdit;
    QTabWidget* tabs = new QTabWidget;
    CGridCtrl* grid = new CGridCtrl;
    bool active = false;
};

TEST_F(GridTest, FirstDoubleClickOnAnotherRowOnlyFocusesItTheNextOpensTheEditorOverTheCell) {
    ASSERT_TRUE(active);
    ClickCell(*grid, 0, 0);
    DoubleClickCell(*grid, 2, 1);
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);

    DoubleClickCell(*grid, 2, 1);
    const CGridCtrlEditCell* editor = grid->Editor();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(owner.Of(GRID_DBLCLK).size(), 2u);
    ASSERT_EQ(owner.Of(GRID_BEGINEDIT).size(), 1u);
    EXPECT_EQ(owner.Of(GRID_BEGINEDIT)[0].row, 2);
    EXPECT_EQ(owner.Of(GRID_BEGINEDIT)[0].column, 1);
    const QRect cell = grid->visualRect(grid->model()->index(2, 1));
    EXPECT_EQ(editor->geometry(), cell.adjusted(0, -2, 0, 2));
    EXPECT_EQ(editor->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(editor->font(), grid->font());
    EXPECT_EQ(editor->selectedText(), "r2c1");
    EXPECT_TRUE(editor->hasFocus());
}

TEST_F(GridTest, OnlyACommittedChangedTextIsReportedAndARefusalRestoresTheCell) {
    ASSERT_TRUE(active);
    struct Case {
        const char* typed;
        Qt::Key ending;
        int answer;
        std::size_t reports;
        const char* cell_after;
    };
    const Case cases[] = {{"7.5", Qt::Key_Return, 1, 1, "7.5"},
                          {"7.5", Qt::Key_Enter, 0, 1, "r2c1"},
                          {"7.5", Qt::Key_Escape, 1, 0, "r2c1"},
                          {"r2c1", Qt::Key_Return, 1, 0, "r2c1"},
                          {"R2C1", Qt::Key_Return, 1, 1, "R2C1"}};  // compared exactly
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        grid->SetItemText(2, 1, "r2c1");
        owner.heard.clear();
        owner.answers[GRID_BEGINEDIT] = 0;  // the owner refuses: no box
        EXPECT_EQ(OpenEditor(*grid, 2, 1), nullptr);
        owner.answers[GRID_BEGINEDIT] = 1;
        owner.answers[GRID_ENDEDIT] = c.answer;
        QPointer<CGridCtrlEditCell> editor = OpenEditor(*grid, 2, 1);
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, c.typed);
        PressKey(*editor, c.ending);
        Click(*other, other->rect().center());  // must not end the edit a second time
        DeleteLaterObjects();

        const auto reports = owner.Of(GRID_ENDEDIT);
        ASSERT_EQ(reports.size(), c.reports);
        if (c.reports) {
            EXPECT_EQ(reports[0].cell, c.typed);  // the owner reads the new text
        }
        EXPECT_EQ(grid->ItemText(2, 1), c.cell_after);
        EXPECT_TRUE(editor.isNull());
    }
}

void TurnWheel(QWidget& widget) {
    const QPoint at = widget.rect().center();
    QWheelEvent wheel(at, widget.mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

TEST_F(GridTest, LeavingTheEditorAnyWayCommitsOnceBeforeTheRowsScroll) {
    ASSERT_TRUE(active);
    struct Case {
        const char* name;
        std::function<void(GridTest&)> leave;
        bool scrolls = false;
    };
    const Case cases[] = {
        {"click elsewhere", [](GridTest& t) { Click(*t.other, t.other->rect().center()); }},
        {"Tab", [](GridTest& t) { PressKey(t.window, Qt::Key_Tab); }},
        {"other tab",
         [](GridTest& t) { Click(*t.tabs->tabBar(), t.tabs->tabBar()->tabRect(1).center()); }},
        {"scroll bar",
         [](GridTest& t) {
             const QScrollBar& bar = *t.grid->verticalScrollBar();
             Click(bar, {bar.width() / 2, bar.height() - 20});
         },
         true},
        {"wheel over rows", [](GridTest& t) { TurnWheel(*t.grid->viewport()); }, true},
        {"wheel over bar", [](GridTest& t) { TurnWheel(*t.grid->verticalScrollBar()); }, true},
        {"window closed", [](GridTest& t) { t.window.close(); }},
        {"CommitEdit", [](GridTest& t) { t.grid->CommitEdit(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        tabs->setCurrentIndex(0);
        grid->verticalScrollBar()->setValue(0);
        grid->SetItemText(1, 1, "r1c1");
        owner.heard.clear();
        QPointer<CGridCtrlEditCell> editor = OpenEditor(*grid, 1, 1);
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "typed");
        c.leave(*this);
        DeleteLaterObjects();

        const auto reports = owner.Of(GRID_ENDEDIT);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].cell, "typed");
        EXPECT_EQ(reports[0].scrolled, 0);
        EXPECT_EQ(grid->verticalScrollBar()->value() > 0, c.scrolls);
        EXPECT_TRUE(editor.isNull());
    }
}

TEST_F(GridTest, SelectIsReportedOnlyForRowsThatWereNotSelected) {
    ASSERT_TRUE(active);
    struct Step {
        int row;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> reported;
    };
    const Step steps[] = {{1, Qt::NoModifier, {1}},
                          {3, Qt::ControlModifier, {3}},
                          {5, Qt::ShiftModifier, {4, 5}},  // 3 stays selected
                          {3, Qt::NoModifier, {}}};        // 3 alone now, but was selected
    for (const Step& step : steps) {
        owner.heard.clear();
        ClickCell(*grid, step.row, 0, step.modifiers);
        std::vector<int> reported;
        for (const auto& h : owner.Of(GRID_SELECT)) reported.push_back(h.row);
        EXPECT_EQ(reported, step.reported) << "click on row " << step.row;
    }
}

TEST_F(GridTest, RowsShowTheirColoursAndASelectedRowTheActiveHighlightInAnInactiveWindow) {
    ASSERT_TRUE(active);
    // As desktop themes do, grey out the selection of inactive windows.
    const QPalette saved = QApplication::palette();
    QPalette themed = saved;
    themed.setColor(QPalette::Active, QPalette::Highlight, QColor(0x308CC6));
    themed.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x919191));
    themed.setColor(QPalette::Base, Qt::white);
    QApplication::setPalette(themed);
    grid->SetRowColors(0, RowColors{0x000000, 0x00FF00});
    grid->SetRowColors(1, RowColors{0x000000, 0xFF0000});
    ClickCell(*grid, 1, 0);
    QWidget elsewhere;
    elsewhere.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));

    const QImage picture = grid->viewport()->grab().toImage();
    const auto colourOfRow = [&](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        return picture.pixelColor(cell.topLeft() + QPoint(2, 2)).rgb() & 0xFFFFFFu;
    };
    EXPECT_EQ(colourOfRow(0), 0x00FF00u);
    EXPECT_EQ(colourOfRow(1), 0x308CC6u);
    EXPECT_EQ(colourOfRow(2), 0xFFFFFFu);
    QApplication::setPalette(saved);
}

TEST_F(GridTest, HeaderClicksKeepTheSortStateAndSortOnlyWhenTheOwnerAsks) {
    ASSERT_TRUE(active);
    grid->setRowCount(3);
    const char* texts[3][2] = {{"b", "10"}, {"a", "9"}, {"C", "100"}};
    for (int row = 0; row < 3; ++row) {
        grid->SetItemText(row, 0, texts[row][0]);
        grid->SetItemText(row, 2, texts[row][1]);
    }
    struct Step {
        int column, answer, ascending;
        QStringList column0, column2;
    };
    const Step steps[] = {{2, 0, 1, {"b", "a", "C"}, {"10", "9", "100"}},   // no sorting
                          {2, 2, 0, {"C", "b", "a"}, {"100", "10", "9"}},   // numbers, down
                          {0, 1, 1, {"a", "b", "C"}, {"9", "10", "100"}}};  // text, any case
    const QHeaderView& header = *grid->horizontalHeader();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.column);
        owner.heard.clear();
        owner.answers[GRID_SORT] = step.answer;
        Click(*header.viewport(), {header.sectionViewportPosition(step.column) + 40, 5});
        const auto sorts = owner.Of(GRID_SORT);
        ASSERT_EQ(sorts.size(), 1u);
        EXPECT_EQ(sorts[0].column, step.column);
        EXPECT_EQ(sorts[0].value, step.ascending);
        EXPECT_EQ(grid->sort_column, step.column);
        EXPECT_EQ(grid->sort_ascending, step.ascending);
        EXPECT_EQ(grid->sort_type, step.answer);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(grid->ItemText(row, 0), step.column0[row]);
            EXPECT_EQ(grid->ItemText(row, 2), step.column2[row]);
        }
    }
}

}  // namespace
