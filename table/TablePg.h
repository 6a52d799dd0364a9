#pragma once

#include <QWidget>
#include <vector>

#include "GridCtrl.h"
#include "TablePgOwner.h"
#include "synth/Peak4.h"

// The page under one channel's tab: the channel's peaks in a grid, one row per peak, shown from
// what the owner gives and edited through the owner. A typed value that is not a number, or one
// the owner refuses, restores the cell and says why at the cell.
//
// While the page or its grid has the focus, Escape and keys with Alt held are swallowed, so that
// they neither close the window nor trigger its mnemonics; Alt together with Control is AltGr and
// still types. Delete asks the owner to delete the selected peaks. Keys typed into an open edit
// box reach the box first.
class CTablePg : public QWidget, private IGridOwner {
    Q_OBJECT

public:
    explicit CTablePg(ITablePgOwner* owner, QWidget* parent = nullptr);

    // Rebuilds every row from `peaks`; no row is selected afterwards.
    void ShowPeaks(const std::vector<GenPeak4>& peaks);
    // Rewrites the six numbers of `row` from `peak`; the name is left as it is.
    void UpdateRow(int row, const GenPeak4& peak);
    // The rows selected, in order, and the row last selected (-1 for none).
    std::vector<int> SelectedRows() const;
    int SelectedRow() const { return m_selectedRow; }
    // Selects `row` alone, without moving the focused row or scrolling.
    void SelectOnlyRow(int row);
    // Ends an open cell edit so that the typed value counts before the owner acts.
    void CommitEdit();
    CGridCtrl* Grid() const { return m_grid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int OnGridNotify(CGridCtrl& grid, GridNotification& notification) override;
    // The answer to GRID_ENDEDIT: 1 when the cell's new text went into the peak, 0 to restore.
    int ApplyEdit(int row, int column);
    int Answer(int row, int column, const QString& refusal);

    ITablePgOwner* m_owner;
    int m_selectedRow = -1;
    CGridCtrl* m_grid;
};
