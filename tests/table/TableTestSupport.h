#pragma once

// Real input for the table tests: mouse and keys enter through the window, as the window system
// delivers them, so Qt's own press/double-click sequence and focus rules apply.

#include <QCoreApplication>
#include <QTest>

#include "table/GridCtrl.h"

inline void Click(const QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(widget.window()->windowHandle(), Qt::LeftButton, modifiers,
                      widget.mapTo(widget.window(), at));
}

inline QPoint CellCentre(const CGridCtrl& grid, int row, int column) {
    return grid.visualRect(grid.model()->index(row, column)).center();
}

inline void ClickCell(const CGridCtrl& grid, int row, int column,
                      Qt::KeyboardModifiers modifiers = {}) {
    Click(*grid.viewport(), CellCentre(grid, row, column), modifiers);
}

inline void DoubleClickCell(const CGridCtrl& grid, int row, int column) {
    const QWidget& viewport = *grid.viewport();
    QTest::mouseDClick(viewport.window()->windowHandle(), Qt::LeftButton, {},
                       viewport.mapTo(viewport.window(), CellCentre(grid, row, column)));
}

// As a user edits a cell: focus its row, then double-click it.
inline CGridCtrlEditCell* OpenEditor(CGridCtrl& grid, int row, int column) {
    ClickCell(grid, row, column);
    DoubleClickCell(grid, row, column);
    return grid.Editor();
}

inline void PressKey(const QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(widget.window()->windowHandle(), key, modifiers);
}

// Each character as the text of a key press, as a keyboard layout delivers it (keyClicks would
// drop what is not Latin-1).
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), {});
    }
}

inline void DeleteLaterObjects() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
