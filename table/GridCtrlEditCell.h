#pragma once

#include <QLineEdit>

class CGridCtrl;

// The edit box that a grid places over one cell while it is edited. It ends its edit once,
// whatever ends it first (Enter, Escape, the focus leaving it for any reason, or the grid asking),
// reports to the grid, and deletes itself; nobody else owns it.
class CGridCtrlEditCell : public QLineEdit {
    Q_OBJECT

public:
    // Shows `text` aligned like the column, in the grid's font, over `cellRect` (viewport
    // coordinates, already extended), with all of it selected and the focus in it.
    CGridCtrlEditCell(CGridCtrl& grid, int row, int column, const QString& text,
                      Qt::Alignment alignment, const QRect& cellRect);

    // Ends the edit now: the grid hears of it (the typed text, or nothing when cancelled).
    void End();
    // Ends it without telling the grid: for a grid that is going away.
    void Abandon();

    int row;
    int column;
    QString initial_text;
    bool cancelled = false;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CGridCtrl& m_grid;
    bool m_ended = false;
};
