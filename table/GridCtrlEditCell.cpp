#include "GridCtrlEditCell.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <limits>

#include "GridCtrl.h"

namespace {

// Keys that belong to the edit box before any shortcut or dialog handling sees them: Enter and
// Escape end the edit (and must not press a default button or close a dialog), Delete edits,
// and anything with Control held is the box's own (copy, paste, AltGr characters).
bool IsEditBoxKey(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return true;
        default:
            return (key.modifiers() & Qt::ControlModifier) != 0;
    }
}

}  // namespace

CGridCtrlEditCell::CGridCtrlEditCell(CGridCtrl& grid, int row, int column, const QString& text,
                                     Qt::Alignment alignment, const QRect& cellRect)
    : QLineEdit(grid.viewport()), row(row), column(column), initial_text(text), m_grid(grid) {
    // A name may be longer than QLineEdit's default limit; cutting it here would change it.
    setMaxLength(std::numeric_limits<int>::max());
    setFont(grid.font());
    setAlignment((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    setGeometry(cellRect);
    setText(initial_text);
    selectAll();
    show();
    setFocus(Qt::OtherFocusReason);
}

void CGridCtrlEditCell::End() {
    if (m_ended) return;
    m_ended = true;
    // Back to the grid before hiding, or Qt would pass the focus to whatever comes next.
    if (hasFocus()) m_grid.setFocus(Qt::OtherFocusReason);
    hide();
    deleteLater();
    m_grid.OnEditEnded(*this);
}

void CGridCtrlEditCell::Abandon() {
    m_ended = true;
}

bool CGridCtrlEditCell::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && !m_ended &&
        IsEditBoxKey(static_cast<const QKeyEvent&>(*event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CGridCtrlEditCell::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            End();
            break;
        case Qt::Key_Escape:
            cancelled = true;
            End();
            break;
        default:
            QLineEdit::keyPressEvent(event);
            break;
    }
    // Keys the box does not use (arrows up and down, page keys) must not move the grid's rows
    // under an open edit box.
    event->accept();
}

void CGridCtrlEditCell::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The box's own context menu takes the focus for a moment; the edit goes on under it.
    if (event->reason() == Qt::PopupFocusReason) return;
    End();
}
