#include "GridRowDelegate.h"

#include <optional>

#include "RowColors.h"

namespace {

// kDefaultRowColor (or no record at all) leaves the list's colour.
std::optional<QColor> RowColor(const QModelIndex& index, int role) {
    const QVariant stored = index.siblingAtColumn(0).data(role);
    if (!stored.isValid()) return std::nullopt;
    const auto value = stored.value<std::uint32_t>();
    if (value == kDefaultRowColor) return std::nullopt;
    return QColor::fromRgb(value & 0xFFFFFFu);
}

}  // namespace

void GridRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                      const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant alignment =
        index.model()->headerData(index.column(), Qt::Horizontal, Qt::TextAlignmentRole);
    if (alignment.isValid()) {
        option->displayAlignment =
            (Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    }
    if (option->state & QStyle::State_Selected) {
        option->state |= QStyle::State_Active;
        return;
    }
    if (const auto text = RowColor(index, kRowTextColorRole)) {
        option->palette.setColor(QPalette::Text, *text);
    }
    if (const auto background = RowColor(index, kRowBackgroundRole)) {
        option->backgroundBrush = *background;
    }
}
