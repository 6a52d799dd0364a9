// The main window's reactions to the gestures on the graph. The graph always edits the current
// channel: its peak list and selected row are the current page's.
#include "QuelmarDlg.h"
#include "graph/GraphCtrl.h"
#include "synth/PeakArea.h"
#include "table/TablePg.h"

void CQuelmarDlg::InstallGraphCallbacks() {
    m_graph->OnPeakCreated = [this](GenPeak4 peak) { OnPeakCreated(std::move(peak)); };
    m_graph->OnPeakSelected = [this](int index) { OnPeakSelected(index); };
    m_graph->OnPeakBoundsChanged = [this](double front, double back, int index) {
        OnPeakBoundsChanged(front, back, index);
    };
    m_graph->OnPeakApexMoved = [this](double time, double height, int index) {
        OnPeakApexMoved(time, height, index);
    };
    m_graph->OnPeakWidthChanged = [this](double width, int index) {
        OnPeakWidthChanged(width, index);
    };
    m_graph->OnPeakEditFinished = [this] { OnPeakEditFinished(); };
}

GenPeak4& CQuelmarDlg::CurrentPeak(int index) {
    return Page(m_currentChannel)->m_peaks.at(static_cast<std::size_t>(index));
}

void CQuelmarDlg::OnPeakCreated(GenPeak4 peak) {
    if (m_currentChannel < 0) return;
    Page(m_currentChannel)->m_peaks.push_back(std::move(peak));
    RegenerateChannel(m_currentChannel);
}

void CQuelmarDlg::OnPeakSelected(int index) {
    if (m_currentChannel < 0) return;
    CTablePg* page = Page(m_currentChannel);
    page->m_selectedRow = index;
    page->SelectOnlyRow(index);
    m_graph->update();
}

void CQuelmarDlg::OnPeakBoundsChanged(double front, double back, int index) {
    GenPeak4& peak = CurrentPeak(index);
    peak.front = front;
    peak.back = back;
    // The bounds are now the user's: regenerations keep them.
    peak.auto_bounds = false;
    ComputePeakArea(*ChannelSignal(m_currentChannel), peak);
    Page(m_currentChannel)->UpdateRow(index, peak);
    m_graph->update();
}

void CQuelmarDlg::OnPeakApexMoved(double time, double height, int index) {
    if (time < 0.0 || height < 0.0) return;
    GenPeak4& peak = CurrentPeak(index);
    peak.time = time;
    peak.height = height;
    peak.auto_bounds = true;
    // The signal follows when the drag ends; the row follows the mouse at once.
    Page(m_currentChannel)->UpdateRow(index, peak);
    m_graph->update();
}

void CQuelmarDlg::OnPeakWidthChanged(double width, int index) {
    if (!(width > 0.0)) return;
    GenPeak4& peak = CurrentPeak(index);
    peak.width = width;
    peak.auto_bounds = true;
    ComputePeakArea(*ChannelSignal(m_currentChannel), peak);
    Page(m_currentChannel)->UpdateRow(index, peak);
    m_graph->update();
}

void CQuelmarDlg::OnPeakEditFinished() {
    if (m_currentChannel >= 0) RegenerateChannel(m_currentChannel);
}
