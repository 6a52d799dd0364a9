#pragma once

#include <QWidget>
#include <vector>

#include "GridCtrl.h"
#include "TablePgOwner.h"
#include "synth/Peak4.h"

// The page under one channel's tab: the channel's working list of peaks, shown and edited in a
// grid, one row per peak, and the channel's noise and drift, which only the owner reads and
// writes. After an edit the page changes the peak and asks the owner to bring the channel up to
// date.
//
// While the page or its grid has the focus, Escape and keys with Alt held are swallowed, so
// that they neither close the window nor trigger its mnemonics; Alt together with Control is
// AltGr and still types. Keys typed into an open edit box reach the box first.
class CTablePg : public QWidget, private IGridOwner {
    Q_OBJECT

public:
    CTablePg(ITablePgOwner* owner, int channelNumber, QWidget* parent = nullptr);

    // Rebuilds every row from m_peaks; no row is selected afterwards.
    void RefreshRows();
    // Rewrites the six numbers of `row` from `peak`; the name is left as it is.
    void UpdateRow(int row, const GenPeak4& peak);
    // Removes the peaks whose rows are selected. The rows stay until the next refresh.
    void DeleteSelectedPeaks();
    // Selects `row` alone, without moving the focused row or scrolling.
    void SelectOnlyRow(int row);
    // Ends an open cell edit so that the typed value counts before the owner acts.
    void CommitEdit();

    ITablePgOwner* m_dialog;
    // The owner renumbers it when an earlier channel is deleted.
    int m_channelNumber;
    std::vector<GenPeak4> m_peaks;
    double m_channelNoise = 0.0;
    double m_channelDrift = 0.0;
    int m_selectedRow = -1;
    CGridCtrl* m_grid;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int OnGridNotify(CGridCtrl& grid, GridNotification& notification) override;
    // The answer to GRID_ENDEDIT: 1 when the cell's new text went into the peak, 0 to restore.
    int ApplyEdit(int row, int column);
    int ApplyName(GenPeak4& peak, const QString& text);
};
