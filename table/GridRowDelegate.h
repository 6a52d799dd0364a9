#pragma once

#include <QStyledItemDelegate>

// Roles under which a grid row keeps its RowColors, on the row's first cell.
inline constexpr int kRowTextColorRole = Qt::UserRole + 1;
inline constexpr int kRowBackgroundRole = Qt::UserRole + 2;

// Paints a grid cell in its row's colours and its column's alignment (the alignment of the
// column's header item, so that header and cells always agree). A selected row takes the
// highlight colours of an active window even when the grid's window is not active: the user
// must see which peaks a command will act on while working in another window.
class GridRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
