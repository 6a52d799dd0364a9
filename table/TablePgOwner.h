#pragma once

#include <QString>
#include <string>

#include "model/PeakValue.h"

class CTablePg;

// What a peak-table page asks of the window that owns the channels. The page says which page it
// is: an edit committed while the user switches tabs still belongs to the page it was typed into.
// The owner applies a change through the generator model and shows the page the peaks again.
class ITablePgOwner {
public:
    // A cell of `row` was given a number. Returns why it was refused (the cell is then restored),
    // or an empty text when it was applied.
    virtual QString OnPeakValueEdited(CTablePg& page, int row, PeakValue what, double value) = 0;
    virtual QString OnPeakRenamed(CTablePg& page, int row, const std::string& name) = 0;
    // The user selected `row` in the table: the graph shows it selected.
    virtual void OnRowSelected(CTablePg& page, int row) = 0;
    // The Delete key in the table: the selected peaks go, as with the delete-peak button.
    virtual void OnDeleteRequested(CTablePg& page) = 0;

protected:
    ~ITablePgOwner() = default;
};
