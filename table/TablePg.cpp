#include "TablePg.h"

#include <QKeyEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include "PeakColumns.h"
#include "synth/NumberText.h"

namespace {

// Alt with Control is AltGr on Windows keyboards (X11 sends AltGr without Alt): that types.
bool IsSwallowedKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    const bool alt = (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier);
    return key.key() == Qt::Key_Escape || alt;
}

// How long a refusal stays at the cell, in milliseconds: long enough to read two lines.
constexpr int kReasonShownMs = 6000;

}  // namespace

CTablePg::CTablePg(ITablePgOwner* owner, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_grid(new CGridCtrl(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    for (const PeakColumn& column : kPeakColumns)
        m_grid->AddColumn(Strings::Tr(column.caption), Qt::AlignHCenter, kPeakColumnWidth);
    m_grid->SetOwner(this);
    m_grid->installEventFilter(this);
}

void CTablePg::ShowPeaks(const std::vector<GenPeak4>& peaks) {
    m_grid->setRowCount(0);
    m_selectedRow = -1;
    m_grid->setRowCount(static_cast<int>(peaks.size()));
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const GenPeak4& peak = peaks[static_cast<std::size_t>(row)];
        m_grid->SetItemText(row, kNameColumn, QString::fromStdString(peak.name));
        m_grid->SetRowColors(row, RowColors{});
        UpdateRow(row, peak);
    }
}

void CTablePg::UpdateRow(int row, const GenPeak4& peak) {
    for (int column = kTimeColumn; column < kPeakColumnCount; ++column) {
        // "%.3f" with a point, whatever the process locale says.
        const std::string text = FormatFixed(peak.*kPeakColumns[column].field, 3);
        m_grid->SetItemText(row, column, QString::fromStdString(text));
    }
}

std::vector<int> CTablePg::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& selected : m_grid->selectionModel()->selectedRows())
        rows.push_back(selected.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CTablePg::SelectOnlyRow(int row) {
    m_selectedRow = row;
    m_grid->SelectOnlyRow(row);
}

void CTablePg::CommitEdit() {
    m_grid->CommitEdit();
}

bool CTablePg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return QWidget::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (IsSwallowedKey(key)) {
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress && key.key() == Qt::Key_Delete && key.modifiers() == 0 &&
        m_grid->Editor() == nullptr) {
        m_owner->OnDeleteRequested(*this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int CTablePg::OnGridNotify(CGridCtrl&, GridNotification& notification) {
    switch (notification.code) {
        case GRID_BEGINEDIT:
            return 1;
        case GRID_ENDEDIT:
            return ApplyEdit(notification.row, notification.column);
        case GRID_SELECT:
            m_selectedRow = notification.row;
            m_owner->OnRowSelected(*this, notification.row);
            return 0;
        default:
            return 0;
    }
}

int CTablePg::ApplyEdit(int row, int column) {
    if (row < 0 || row >= m_grid->rowCount()) return 0;
    if (column < 0 || column >= kPeakColumnCount) return 0;
    const QString text = m_grid->ItemText(row, column);
    if (column == kNameColumn) {
        // Text that UTF-8 cannot carry (a lone surrogate from the clipboard) would come back
        // different from what the cell shows: refuse it rather than store something else.
        const std::string name = text.toStdString();
        if (QString::fromStdString(name) != text) return 0;
        return Answer(row, column, m_owner->OnPeakRenamed(*this, row, name));
    }
    const ParsedNumber parsed = ParseEditNumber(text.toStdString());
    if (parsed.kind != NumberTextKind::Number)
        return Answer(row, column, Strings::Tr(Strings::kEnterNumber));
    // The owner shows the peaks anew, which clears the selection; the rows the user works on
    // stay selected, so that a command right after the edit (delete) still finds them.
    const std::vector<int> selected = SelectedRows();
    const int rows = m_grid->rowCount();
    const int answer =
        Answer(row, column,
               m_owner->OnPeakValueEdited(*this, row, kPeakColumns[column].value, parsed.value));
    if (answer == 1 && m_grid->rowCount() == rows) {
        for (const int r : selected)
            m_grid->selectionModel()->select(
                m_grid->model()->index(r, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    return answer;
}

int CTablePg::Answer(int row, int column, const QString& refusal) {
    if (refusal.isEmpty()) return 1;
    const QRect cell = m_grid->visualRect(m_grid->model()->index(row, column));
    QToolTip::showText(m_grid->viewport()->mapToGlobal(cell.bottomLeft()), refusal,
                       m_grid->viewport(), cell, kReasonShownMs);
    return 0;
}
