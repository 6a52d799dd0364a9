// The window's reactions to the gestures on the graph and to edits in the peak tables. The
// graph always edits the current channel; a page edits its own.
#include <QToolTip>

#include "QuelmarDlg.h"
#include "RefusalText.h"
#include "graph/GraphCtrl.h"
#include "table/TablePg.h"

void CQuelmarDlg::InstallGraphCallbacks() {
    m_graph->OnPeakCreated = [this](GenPeak4 peak) { OnPeakCreated(std::move(peak)); };
    m_graph->OnPeakSelected = [this](int index) { OnPeakSelected(index); };
    m_graph->OnPeakBoundsChanged = [this](double front, double back, int index) {
        if (m_model->Dragging() || m_model->BeginDrag(m_currentChannel, index).Applied())
            OnPeakDragged(index, m_model->DragBounds(front, back));
    };
    m_graph->OnPeakApexMoved = [this](double time, double height, int index) {
        if (m_model->Dragging() || m_model->BeginDrag(m_currentChannel, index).Applied())
            OnPeakDragged(index, m_model->DragApex(time, height));
    };
    m_graph->OnPeakWidthChanged = [this](double width, int index) {
        if (m_model->Dragging() || m_model->BeginDrag(m_currentChannel, index).Applied())
            OnPeakDragged(index, m_model->DragWidth(width));
    };
    m_graph->OnPeakEditFinished = [this] { OnPeakEditFinished(); };
    m_graph->OnPeakEditCancelled = [this] { OnPeakEditCancelled(); };
}

void CQuelmarDlg::OnPeakCreated(GenPeak4 peak) {
    if (!m_model->HasChannel(m_currentChannel)) return;
    Show(m_model->AddPeak(m_currentChannel, std::move(peak)));
}

void CQuelmarDlg::OnPeakSelected(int index) {
    if (!m_model->HasChannel(m_currentChannel)) return;
    Page(m_currentChannel)->SelectOnlyRow(index);
    m_graph->SetSelectedPeak(index);
}

void CQuelmarDlg::OnPeakDragged(int index, const ModelChange& change) {
    // A move the rules do not allow leaves the peak where it was; the table follows the mouse.
    if (!change.Applied()) return;
    const auto& peaks = m_model->Peaks(m_currentChannel);
    if (index >= 0 && static_cast<std::size_t>(index) < peaks.size())
        Page(m_currentChannel)->UpdateRow(index, peaks[static_cast<std::size_t>(index)]);
    m_graph->update();
}

void CQuelmarDlg::OnPeakEditFinished() {
    const ModelChange change = m_model->EndDrag();
    if (!change.Applied()) {
        // The drag would have overflowed the signal: the peak is back where it was.
        const int channel = change.refusal.channel;
        if (m_model->HasChannel(channel)) Page(channel)->ShowPeaks(m_model->Peaks(channel));
    }
    Show(change);
}

void CQuelmarDlg::OnPeakEditCancelled() {
    Show(m_model->CancelDrag());
}

QString CQuelmarDlg::OnPeakValueEdited(CTablePg& page, int row, PeakValue what, double value) {
    const int channel = IndexOf(page);
    const ModelChange change = m_model->SetPeakValue(channel, row, what, value);
    if (!change.Applied()) return RefusalText(change.refusal);
    Show(change);
    return {};
}

QString CQuelmarDlg::OnPeakRenamed(CTablePg& page, int row, const std::string& name) {
    const ModelChange change = m_model->RenamePeak(IndexOf(page), row, name);
    if (!change.Applied()) return RefusalText(change.refusal);
    // The cell already shows the name; rebuilding the rows would only lose the selection.
    m_graph->update();
    return {};
}

void CQuelmarDlg::OnRowSelected(CTablePg& page, int row) {
    if (IndexOf(page) == m_currentChannel) m_graph->SetSelectedPeak(row);
}

void CQuelmarDlg::OnDeleteRequested(CTablePg& page) {
    if (IndexOf(page) == m_currentChannel) OnDeletePeak();
}
