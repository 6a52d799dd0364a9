// The window's views of the model's channels: pages, tabs, curves and axes, and the commands
// that add, delete and switch channels.
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "GraphSetup.h"
#include "QuelmarDlg.h"
#include "RefusalText.h"
#include "TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Strings.h"
#include "table/TablePg.h"

namespace {

QString TabCaption(int number_from_one) {
    return Strings::Tr(Strings::kChannelTab).arg(number_from_one);
}

}  // namespace

CTablePg* CQuelmarDlg::Page(int index) const {
    return m_pages.at(static_cast<std::size_t>(index));
}

int CQuelmarDlg::IndexOf(const CTablePg& page) const {
    const auto it = std::find(m_pages.begin(), m_pages.end(), &page);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

bool CQuelmarDlg::Apply(const std::function<ModelChange(CGeneratorModel&)>& operation) {
    FinishPendingEdits();
    return Show(operation(*m_model));
}

bool CQuelmarDlg::Show(const ModelChange& change, std::optional<ControlId> typed_in) {
    if (!change.Applied()) {
        SetStatus(RefusalText(change.refusal));
        return false;
    }
    SetStatus({});
    if (change.channel_list) SyncPages(change);
    for (const int c : change.channels)
        if (c >= 0 && c < ChannelCount()) Page(c)->ShowPeaks(m_model->Peaks(c));
    RebuildGraphSeries();
    // A new channel, like a new time axis, is shown over the whole analysis.
    if (change.time_axis || change.inserted > 0) ResetAxisRanges();
    ShowCurrentPeaks();
    WriteEdits(typed_in);
    UpdateCaption();
    return true;
}

void CQuelmarDlg::SyncPages(const ModelChange& change) {
    // The graph must not point into peaks that go.
    m_graph->ShowPeaks(nullptr, -1);
    for (int k = 0; k < change.removed; ++k) {
        delete m_pages.at(static_cast<std::size_t>(change.first));
        m_pages.erase(m_pages.begin() + change.first);
        m_tab->DeleteItem(change.first);
    }
    for (int k = 0; k < change.inserted; ++k) {
        const int at = change.first + k;
        auto* page = new CTablePg(this, this);
        m_pages.insert(m_pages.begin() + at, page);
        m_tab->InsertItem(at, TabCaption(at + 1));
        page->ShowPeaks(m_model->Peaks(at));
        page->hide();
    }
    RecaptionTabs();
    PlacePages();
    SetTabOrder();
    // The channel that was current, or its neighbour when it went; a new one becomes current.
    int current = m_currentChannel;
    if (change.inserted > 0)
        current = change.first + change.inserted - 1;
    else if (current >= change.first + change.removed)
        current -= change.removed;
    else if (current >= change.first)
        current = change.first > 0 ? change.first - 1 : 0;
    m_currentChannel = -1;
    m_tab->SetCurSel(std::clamp(current, 0, ChannelCount() - 1));
    SelectChannel(std::clamp(current, 0, ChannelCount() - 1));
}

void CQuelmarDlg::RecaptionTabs() {
    for (int i = 0; i < m_tab->Count(); ++i) m_tab->SetItemText(i, TabCaption(i + 1));
}

bool CQuelmarDlg::OnAddChannel() {
    FinishPendingEdits();
    return Show(m_model->AddChannel());
}

void CQuelmarDlg::OnDeleteChannel() {
    const int s = m_tab->CurSel();
    if (s < 0 || s >= ChannelCount()) return;
    FinishPendingEdits();
    Show(m_model->DeleteChannel(s));
}

void CQuelmarDlg::OnTabSelChange() {
    const int selected = m_tab->CurSel();
    if (selected != m_currentChannel && selected >= 0 && selected < ChannelCount())
        SelectChannel(selected);
}

void CQuelmarDlg::SelectChannel(int index) {
    if (index < 0 || index >= ChannelCount()) return;
    m_graph->EndDrag();
    m_currentChannel = index;
    // The tab follows when the channel is chosen from code (selecting from code reports nothing).
    if (m_tab->CurSel() != index) m_tab->SetCurSel(index);
    for (int j = 0; j < ChannelCount(); ++j) Page(j)->setVisible(j == index);
    RebuildGraphSeries();
    ShowCurrentPeaks();
    WriteEdits();
    update();
}

void CQuelmarDlg::ShowCurrentPeaks() {
    ShowChannelPeaks(
        *m_graph, *m_model, m_currentChannel,
        m_model->HasChannel(m_currentChannel) ? Page(m_currentChannel)->SelectedRow() : -1);
}

void CQuelmarDlg::RebuildGraphSeries() {
    ShowChannelCurves(*m_graph, *m_model, m_currentChannel);
}

void CQuelmarDlg::ResetAxisRanges() {
    // The time axis spans the analysis; the response axis stays 0..100 mV whatever the peaks'
    // heights, and zooming looks beyond it. The same ranges are where navigation returns.
    const double start = m_model->StartTime();
    const double end = m_model->AnalysisTime();
    m_graph->SetVisibleRangeX(start, end);
    m_graph->SetExtentX(start, end);
    m_graph->SetVisibleRangeY(0.0, 100.0);
    m_graph->SetExtentY(0.0, 100.0);
    m_graph->update();
}

void CQuelmarDlg::FitViewToCurve() {
    // The home view, widened to what the current curve reaches (drift, noise, negative peaks).
    ResetAxisRanges();
    if (!m_model->HasChannel(m_currentChannel)) return;
    const auto& samples = m_model->ChannelSignal(m_currentChannel).samples;
    if (samples.empty()) return;
    const auto [lo, hi] = std::minmax_element(samples.begin(), samples.end());
    const double bottom = std::min(0.0, static_cast<double>(*lo));
    const double top = std::max(100.0, static_cast<double>(*hi));
    m_graph->SetVisibleRangeY(bottom, top);
    m_graph->SetExtentY(bottom, top);
}

void CQuelmarDlg::PlacePages() {
    const QRect area = m_tab->DisplayArea().translated(m_tab->pos());
    for (CTablePg* page : m_pages) {
        page->setGeometry(area);
        page->raise();
    }
}
