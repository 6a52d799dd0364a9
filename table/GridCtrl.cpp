#include "GridCtrl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

#include "GridCtrlEditCell.h"
#include "GridRowDelegate.h"
#include "synth/NumberText.h"

namespace {

// The owner's answer to GRID_SORT that asks for numbers rather than text.
constexpr int kNumericSort = 2;

// NaN is placed with minus infinity, so that the order stays strict and weak.
double NumericSortKey(const QString& text) {
    const double value = ParseReal(text.toUtf8().constData());
    return std::isnan(value) ? -std::numeric_limits<double>::infinity() : value;
}

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new GridRowDelegate(this));
    setShowGrid(true);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setSortingEnabled(false);
    setWordWrap(false);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    // Rows as compact as a report list's: one line of the font and a little air.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->viewport()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { OnSelectionChanged(selected); });
    connect(header, &QHeaderView::sectionClicked, this, &CGridCtrl::OnHeaderClicked);
    connect(header, &QHeaderView::sectionMoved, this, &CGridCtrl::OnColumnMoved);
}

CGridCtrl::~CGridCtrl() {
    // Whatever is destroyed after this point must not report to an owner that may be gone.
    m_owner = nullptr;
    if (m_editor) m_editor->Abandon();
}

void CGridCtrl::AddColumn(const QString& caption, Qt::Alignment alignment, int width) {
    const int column = columnCount();
    setColumnCount(column + 1);
    auto* header = new QTableWidgetItem(caption);
    header->setData(Qt::TextAlignmentRole,
                    ((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter).toInt());
    setHorizontalHeaderItem(column, header);
    setColumnWidth(column, width);
}

Qt::Alignment CGridCtrl::ColumnAlignment(int column) const {
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    if (header == nullptr) return Qt::AlignLeft;
    return Qt::Alignment(header->data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
}

QString CGridCtrl::ItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CGridCtrl::SetItemText(int row, int column, const QString& text) {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return;
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setText(text);
    } else {
        setItem(row, column, new QTableWidgetItem(text));
    }
}

void CGridCtrl::SetRowColors(int row, RowColors colors) {
    if (row < 0 || row >= rowCount() || columnCount() == 0) return;
    if (item(row, 0) == nullptr) setItem(row, 0, new QTableWidgetItem);
    item(row, 0)->setData(kRowTextColorRole, QVariant::fromValue(colors.text));
    item(row, 0)->setData(kRowBackgroundRole, QVariant::fromValue(colors.background));
}

CGridCtrlEditCell* CGridCtrl::BeginEdit(int row, int column) {
    CommitEdit();
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
    const QModelIndex cell = model()->index(row, column);
    scrollTo(cell);
    if (Notify(GRID_BEGINEDIT, row, column) == 0) return nullptr;
    // A little taller than the row, so that the box's frame does not squeeze the text.
    const QRect box = visualRect(cell).adjusted(0, -2, 0, 2);
    m_editor = new CGridCtrlEditCell(*this, row, column, ItemText(row, column),
                                     ColumnAlignment(column), box);
    return m_editor;
}

void CGridCtrl::CommitEdit() {
    if (m_editor) m_editor->End();
}

void CGridCtrl::SelectOnlyRow(int row) {
    // select() leaves the current index alone, and only a change of the current index scrolls.
    if (row < 0 || row >= rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->select(model()->index(row, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CGridCtrl::OnEditEnded(const CGridCtrlEditCell& editor) {
    if (m_editor == &editor) m_editor = nullptr;
    if (editor.cancelled) return;
    const int row = editor.row;
    const int column = editor.column;
    if (row >= rowCount() || column >= columnCount()) return;
    const QString typed = editor.text();
    const QString old = ItemText(row, column);
    if (typed == old) return;
    // The owner reads the new text from the cell.
    SetItemText(row, column, typed);
    if (Notify(GRID_ENDEDIT, row, column) == 0) SetItemText(row, column, old);
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    m_rowFocusedBeforePress = currentIndex().row();
    QTableWidget::mousePressEvent(event);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableWidget::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QModelIndex cell = indexAt(at);
    GridNotification click{.code = GRID_DBLCLK, .row = cell.row(), .column = cell.column()};
    click.position = at;
    Notify(click);
    if (click.handled || !cell.isValid()) return;
    // The first double click on a row only focuses it: a stray double click must not open an
    // edit box on a row the user has not been working with.
    if (cell.row() != m_rowFocusedBeforePress) {
        selectionModel()->setCurrentIndex(
            cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    BeginEdit(cell.row(), cell.column());
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    const QModelIndex cell = currentIndex();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain = modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier;
    const QString text = event->text();
    const bool opens = event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return ||
                       event->key() == Qt::Key_Enter;
    const bool types = plain && !text.isEmpty() && text.front().isPrint();
    if (!cell.isValid() || (!opens && !types) || (opens && !plain)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    CGridCtrlEditCell* editor = BeginEdit(cell.row(), cell.column());
    if (editor != nullptr && types) editor->setText(text);
    event->accept();
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard there is no pointer position; the menu goes near the grid's corner.
    GridNotification menu{.code = GRID_CONTEXTMENU};
    menu.position = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                : mapToGlobal(QPoint(5, 5));
    Notify(menu);
    event->accept();
}

void CGridCtrl::hideEvent(QHideEvent* event) {
    // A page that is switched away or a window that closes takes no open edit with it.
    CommitEdit();
    QTableWidget::hideEvent(event);
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (watched == verticalScrollBar() || watched == horizontalScrollBar()) {
        // A press on a scroll bar already gives the grid the focus (Qt passes click focus up to
        // the first parent that takes it), which ends the edit; a wheel turned over the bar or
        // over the rows (which the grid hands on to the bar) does not.
        if (type == QEvent::Wheel) CommitEdit();
    } else if (watched == horizontalHeader()->viewport()) {
        if (press) {
            CommitEdit();
            const auto& mouse = static_cast<const QMouseEvent&>(*event);
            if (mouse.button() == Qt::LeftButton && OnHeaderPress(mouse.position().toPoint())) {
                return true;
            }
        } else if (type == QEvent::MouseButtonRelease) {
            OnHeaderRelease();
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

int CGridCtrl::Notify(GridNotification& notification) {
    return m_owner ? m_owner->OnGridNotify(*this, notification) : 0;
}

int CGridCtrl::Notify(GridNotify code, int row, int column, int value) {
    GridNotification notification{.code = code, .row = row, .column = column, .value = value};
    return Notify(notification);
}

void CGridCtrl::OnSelectionChanged(const QItemSelection& selected) {
    // Qt reports only what changed, so these rows were not selected before.
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selected) {
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows) Notify(GRID_SELECT, row, 0);
}

void CGridCtrl::OnHeaderClicked(int column) {
    sort_ascending = column == sort_column ? (sort_ascending ? 0 : 1) : 1;
    sort_column = column;
    sort_type = Notify(GRID_SORT, -1, column, sort_ascending);
    if (sort_type != 0) SortRows(column, sort_ascending != 0, sort_type);
}

void CGridCtrl::OnColumnMoved(int column, int oldPosition, int newPosition) {
    if (m_revertingMove || horizontalHeader()->sectionSize(column) == 0) return;
    if (Notify(GRID_COLUMNDRAG, -1, column, newPosition) != 1) return;
    m_revertingMove = true;
    horizontalHeader()->moveSection(newPosition, oldPosition);
    m_revertingMove = false;
}

bool CGridCtrl::OnHeaderPress(const QPoint& at) {
    m_trackedColumn = -1;
    const int column = DividerAt(at.x());
    if (column < 0) return false;
    const int width = horizontalHeader()->sectionSize(column);
    // A column of zero width is hidden on purpose: its divider is not for dragging.
    if (width == 0 || Notify(GRID_BEGINTRACK, -1, column) != 0) return true;
    m_trackedColumn = column;
    m_trackedStartWidth = width;
    return false;
}

void CGridCtrl::OnHeaderRelease() {
    const int column = std::exchange(m_trackedColumn, -1);
    if (column < 0) return;
    const int width = horizontalHeader()->sectionSize(column);
    if (width == m_trackedStartWidth) return;
    if (Notify(GRID_ENDTRACK, -1, column, width) == 1) {
        horizontalHeader()->resizeSection(column, m_trackedStartWidth);
    }
}

int CGridCtrl::DividerAt(int x) const {
    // The same grip rule as the header's own: near a section's left edge the divider belongs
    // to the visible section before it, near its right edge to the section itself.
    const QHeaderView* header = horizontalHeader();
    int position = header->visualIndexAt(x);
    if (position < 0) return -1;
    const int column = header->logicalIndex(position);
    const int left = header->sectionViewportPosition(column);
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    if (x < left + grip) {
        while (--position >= 0) {
            const int previous = header->logicalIndex(position);
            if (!header->isSectionHidden(previous)) return previous;
        }
        return -1;
    }
    return x > left + header->sectionSize(column) - grip ? column : -1;
}

void CGridCtrl::SortRows(int column, bool ascending, int type) {
    const int rows = rowCount();
    const int columns = columnCount();
    std::vector<QString> texts(rows);
    std::vector<double> numbers(rows);
    for (int row = 0; row < rows; ++row) {
        texts[row] = ItemText(row, column);
        if (type == kNumericSort) numbers[row] = NumericSortKey(texts[row]);
    }
    const auto less = [&](int a, int b) {
        if (type == kNumericSort) return numbers[a] < numbers[b];
        return texts[a].compare(texts[b], Qt::CaseInsensitive) < 0;
    };
    std::vector<int> order(rows);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return ascending ? less(a, b) : less(b, a); });

    // Rows keep their colours, which live in their first cell.
    std::vector<QTableWidgetItem*> cells(static_cast<std::size_t>(rows) * columns);
    for (int row = 0; row < rows; ++row) {
        for (int c = 0; c < columns; ++c) cells[row * columns + c] = takeItem(row, c);
    }
    clearSelection();
    for (int row = 0; row < rows; ++row) {
        for (int c = 0; c < columns; ++c) {
            if (QTableWidgetItem* cell = cells[order[row] * columns + c]) setItem(row, c, cell);
        }
    }
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}
