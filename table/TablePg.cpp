#include "TablePg.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "PeakColumns.h"
#include "file/XmlValue.h"
#include "synth/NumberText.h"
#include "synth/PeakArea.h"

namespace {

// Alt with Control is AltGr on Windows keyboards (X11 sends AltGr without Alt): that types.
bool IsSwallowedKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    const bool alt = (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier);
    return key.key() == Qt::Key_Escape || alt;
}

}  // namespace

CTablePg::CTablePg(ITablePgOwner* owner, int channelNumber, QWidget* parent)
    : QWidget(parent),
      m_dialog(owner),
      m_channelNumber(channelNumber),
      m_grid(new CGridCtrl(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    for (const PeakColumn& column : kPeakColumns) {
        m_grid->AddColumn(QString::fromUtf8(column.caption), Qt::AlignHCenter, kPeakColumnWidth);
    }
    m_grid->SetOwner(this);
    m_grid->installEventFilter(this);
}

void CTablePg::RefreshRows() {
    m_grid->setRowCount(0);
    m_selectedRow = -1;
    m_grid->setRowCount(static_cast<int>(m_peaks.size()));
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const GenPeak4& peak = m_peaks[row];
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

void CTablePg::DeleteSelectedPeaks() {
    std::vector<int> rows;
    for (const QModelIndex& selected : m_grid->selectionModel()->selectedRows()) {
        if (selected.row() < static_cast<int>(m_peaks.size())) rows.push_back(selected.row());
    }
    // From the last row up, so that each removal leaves the remaining indexes valid.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : rows) m_peaks.erase(m_peaks.begin() + row);
}

void CTablePg::SelectOnlyRow(int row) {
    m_grid->SelectOnlyRow(row);
}

void CTablePg::CommitEdit() {
    m_grid->CommitEdit();
}

bool CTablePg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
        IsSwallowedKey(static_cast<const QKeyEvent&>(*event))) {
        event->accept();
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
            m_dialog->InvalidateDialog();
            return 0;
        default:
            return 0;
    }
}

int CTablePg::ApplyEdit(int row, int column) {
    if (row < 0 || row >= static_cast<int>(m_peaks.size())) return 0;
    if (column < 0 || column >= kPeakColumnCount) return 0;
    const QString text = m_grid->ItemText(row, column);
    GenPeak4& peak = m_peaks[row];
    const PeakColumn& edited = kPeakColumns[column];
    if (edited.field == nullptr) return ApplyName(peak, text);

    // Lenient like strtod on decimal text: "1,5" is 1, letters are 0; never the locale's comma.
    const double value = ParseReal(text.toUtf8().constData());
    if (!IsAcceptablePeakValue(column, value)) return 0;
    Signal4* signal = nullptr;
    if (edited.effect == PeakEditEffect::kMeasureArea) {
        signal = m_dialog->ChannelSignal(m_channelNumber);
        if (signal == nullptr) return 0;
    }
    peak.*edited.field = value;
    peak.auto_bounds = edited.auto_bounds;
    switch (edited.effect) {
        case PeakEditEffect::kMeasureArea:
            ComputePeakArea(*signal, peak);
            m_dialog->InvalidateDialog();
            UpdateRow(row, peak);
            break;
        case PeakEditEffect::kFitThenRegenerate:
            m_dialog->ApplyPeakArea(peak, m_channelNumber);
            m_dialog->RegenerateChannel(m_channelNumber);
            break;
        case PeakEditEffect::kRegenerate:
            m_dialog->RegenerateChannel(m_channelNumber);
            break;
        case PeakEditEffect::kNone:
            break;
    }
    return 1;
}

int CTablePg::ApplyName(GenPeak4& peak, const QString& text) {
    // Text that UTF-8 cannot carry (a lone surrogate from the clipboard) would come back
    // different from what the cell shows: refuse it rather than store something else.
    std::string name = text.toStdString();
    if (QString::fromStdString(name) != text) return 0;
    peak.name = std::move(name);
    return 1;
}
