#pragma once

#include <QPointer>
#include <QTableWidget>

#include "GridCtrlEditCell.h"
#include "GridNotify.h"
#include "RowColors.h"

// A report list: rows of cells under a header, grid lines, whole rows selected (several at a
// time), per-row colours, and in-place editing of single cells through a protocol with its
// owner (GridNotify.h). The grid knows nothing of what its rows mean.
//
// Qt's own item-view habits that a report list does not have are switched off: no vertical
// header, no sorting or editing by Qt itself, no Tab between cells, no bold header sections for
// a selected row. An edit box opens only through a double click on the row that already had
// the focus.
class CGridCtrl : public QTableWidget {
    Q_OBJECT

public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    void SetOwner(IGridOwner* owner) { m_owner = owner; }

    // Appends a column whose header and cells are aligned alike.
    void AddColumn(const QString& caption, Qt::Alignment alignment, int width);
    Qt::Alignment ColumnAlignment(int column) const;

    QString ItemText(int row, int column) const;
    // Creates the cell when it does not exist yet; does nothing outside the grid.
    void SetItemText(int row, int column, const QString& text);
    void SetRowColors(int row, RowColors colors);

    // Opens the edit box over a cell after the owner agreed (GRID_BEGINEDIT), scrolling the row
    // into view; nullptr when the cell does not exist or the owner refused. Any edit still open
    // is ended first.
    CGridCtrlEditCell* BeginEdit(int row, int column);
    // Ends an open edit as if the focus had left it. Buttons that take no focus and clicks on
    // custom widgets call this before they act, so that the typed text counts.
    void CommitEdit();
    CGridCtrlEditCell* Editor() const { return m_editor; }

    // Selects `row` alone without moving the focused row or scrolling.
    void SelectOnlyRow(int row);

    int sort_column = -1;
    int sort_ascending = 1;
    int sort_type = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // F2 and Enter open the edit box on the focused cell; a character typed there opens it with
    // that character in place of the cell's text.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CGridCtrlEditCell;
    // Called by the edit box once, when its edit ends.
    void OnEditEnded(const CGridCtrlEditCell& editor);

    int Notify(GridNotification& notification);
    int Notify(GridNotify code, int row, int column, int value = 0);
    void OnSelectionChanged(const QItemSelection& selected);
    void OnHeaderClicked(int column);
    void OnColumnMoved(int column, int oldPosition, int newPosition);
    bool OnHeaderPress(const QPoint& at);
    void OnHeaderRelease();
    int DividerAt(int x) const;
    void SortRows(int column, bool ascending, int type);

    IGridOwner* m_owner = nullptr;
    QPointer<CGridCtrlEditCell> m_editor;
    // Qt moves the focused row on the first press of a double click; the edit rule needs the
    // row that had the focus before that press.
    int m_rowFocusedBeforePress = -1;
    int m_trackedColumn = -1;
    int m_trackedStartWidth = 0;
    bool m_revertingMove = false;
};
