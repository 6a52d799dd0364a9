#pragma once

#include <QPoint>

class CGridCtrl;

// What the grid tells its owner. The numbers are fixed: they are the contract between the grid
// and the pages that own one.
enum GridNotify : int {
    GRID_ENDEDIT = 0xd62,      // row, column: the cell already shows the typed text; 0 restores it
    GRID_BEGINEDIT = 0xd63,    // row, column: 0 refuses the edit
    GRID_SELECT = 0xd64,       // row (column 0): a row that was not selected has become selected
    GRID_CONTEXTMENU = 0xd65,  // position: where the menu belongs, in screen coordinates
    GRID_SORT = 0xd66,         // column, value = 1 ascending / 0 descending: the sort type, 0 none
    GRID_COLUMNDRAG = 0xd67,   // column, value = its new visual position: 1 refuses the move
    GRID_BEGINTRACK = 0xd68,   // column: non-zero prevents the divider drag
    GRID_ENDTRACK = 0xd69,     // column, value = its new width in pixels: 1 restores the old width
    GRID_DBLCLK = 0xd6a,       // row, column (-1 off the cells), position: set `handled` to stop
};

struct GridNotification {
    GridNotify code;
    int row = -1;
    int column = -1;
    int value = 0;
    QPoint position{};  // GRID_CONTEXTMENU: screen; GRID_DBLCLK: the grid's viewport
    bool handled = false;
};

// The window that owns a grid answers its questions here. An owner that has nothing to say about
// a code returns 0, which the grid reads as "no objection" for the tracking codes and as a
// refusal for the editing codes.
class IGridOwner {
public:
    virtual int OnGridNotify(CGridCtrl& grid, GridNotification& notification) = 0;

protected:
    ~IGridOwner() = default;
};
