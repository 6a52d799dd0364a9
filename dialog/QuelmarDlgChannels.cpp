// The channel list of the main window: adding, deleting and switching channels, and the curves
// and axis ranges that follow them.
#include <QLineEdit>

#include "QuelmarDlg.h"
#include "TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Strings.h"
#include "synth/SampleCount.h"
#include "table/TablePg.h"

namespace {

constexpr Rgb kCurveColour{19, 43, 169};

QString TabCaption(int number_from_one) {
    return QString::fromUtf8(Strings::kChannelTab).arg(number_from_one);
}

}  // namespace

bool CQuelmarDlg::CanSizeChannels(double minutes, double per_minute, std::size_t channels) {
    if (!(minutes > 0.0) || !(per_minute >= 1.0)) return false;
    const SampleCountResult count = ComputeSampleCount(minutes, per_minute);
    return count.ok() &&
           count.count <= kMaxDocumentSampleCount / std::max<std::size_t>(channels, 1);
}

CTablePg* CQuelmarDlg::Page(int index) const {
    return m_pages.at(static_cast<std::size_t>(index));
}

bool CQuelmarDlg::OnAddChannel() {
    const int n = ChannelCount();
    if (n >= kMaxChannels) return false;
    if (!CanSizeChannels(m_analysisTime, m_sampleRate, static_cast<std::size_t>(n) + 1))
        return false;
    FinishPendingEdits();

    GiveFreshSignal(m_file.m_channels.emplace_back(n));
    // The new channel is not synthesised: its curve is flat until it is regenerated.
    RebuildGraphSeries();
    ResetAxisRanges();

    auto* page = new CTablePg(this, n, this);
    m_pages.push_back(page);
    m_tab->InsertItem(n, TabCaption(n + 1));
    PlacePages();
    page->hide();
    m_tab->SetCurSel(n);
    SelectChannel(n);
    return true;
}

void CQuelmarDlg::OnDeleteChannel() {
    if (m_file.m_channels.size() < 2) return;
    const int s = m_tab->CurSel();
    if (s < 0 || s >= ChannelCount()) return;
    FinishPendingEdits();

    // The graph must not point into the page that goes.
    m_graph->m_peaks = nullptr;
    m_graph->m_selectedPeak = nullptr;
    m_file.m_channels.erase(m_file.m_channels.begin() + s);
    delete m_pages[static_cast<std::size_t>(s)];
    m_pages.erase(m_pages.begin() + s);
    // Numbers again equal places, for the records and for the pages, whose edits act on their
    // own channel by its number.
    for (int i = 0; i < ChannelCount(); ++i) {
        m_file.m_channels[static_cast<std::size_t>(i)].number = i;
        Page(i)->m_channelNumber = i;
    }
    m_tab->DeleteItem(s);
    RecaptionTabs();
    RebuildGraphSeries();
    const int current = s > 0 ? s - 1 : 0;
    m_tab->SetCurSel(current);
    SelectChannel(current);
}

void CQuelmarDlg::RecaptionTabs() {
    for (const Channel4& channel : m_file.m_channels)
        m_tab->SetItemText(channel.number, TabCaption(channel.number + 1));
}

void CQuelmarDlg::OnTabSelChange() {
    const int selected = m_tab->CurSel();
    if (selected != m_currentChannel && selected >= 0 && selected < ChannelCount())
        SelectChannel(selected);
}

void CQuelmarDlg::SelectChannel(int index) {
    if (index < 0 || index >= ChannelCount()) return;
    m_graph->EndDrag();
    for (int j = 0; j < ChannelCount(); ++j) {
        CTablePg* page = Page(j);
        CAutoSeries& curve = m_graph->Series(static_cast<std::size_t>(j));
        if (j == index) {
            page->show();
            m_currentChannel = index;
            m_graph->m_peaks = &page->m_peaks;
            m_graph->m_selectedPeak = &page->m_selectedRow;
            m_noise = page->m_channelNoise;
            m_drift = page->m_channelDrift;
            curve.m_hidden = false;
        } else {
            page->hide();
            curve.m_hidden = true;
        }
    }
    WriteEdits();
    update();
    m_graph->update();
}

void CQuelmarDlg::RebuildGraphSeries() {
    m_graph->ClearSeries();
    for (Channel4& channel : m_file.m_channels) {
        CAutoSeries& curve = m_graph->AddSeries();
        curve.m_line_colour = kCurveColour;
        SampleGrid grid;
        std::int32_t last_index;
        {
            const std::lock_guard lock(channel.signal.guard);
            grid = {channel.signal.start, channel.signal.step};
            last_index = channel.signal.last_index;
        }
        const std::size_t count = channel.signal.Size();
        const std::int64_t end_index =
            last_index >= 0 ? last_index : static_cast<std::int64_t>(count) - 1;
        curve.m_y_values = channel.signal.samples.data();
        curve.m_x_values = nullptr;
        curve.m_point_count = static_cast<std::int32_t>(count);
        curve.m_x_start = grid.start;
        curve.m_x_end = grid.start + static_cast<double>(end_index) * grid.step;
        curve.m_x_step =
            count >= 2 ? (curve.m_x_end - curve.m_x_start) / static_cast<double>(count - 1) : 0.0;
    }
    m_graph->update();
}

void CQuelmarDlg::ResetAxisRanges() {
    // The time axis spans the analysis; the response axis stays 0..100 mV whatever the peaks'
    // heights, and zooming looks beyond it. The same ranges are where navigation returns.
    if (m_analysisTime <= m_startTime) {
        m_graph->SetVisibleRangeX(0.0, 0.0);  // follows the data
        m_graph->SetExtentX(0.0, 0.0);
    } else {
        m_graph->SetVisibleRangeX(m_startTime, m_analysisTime);
        m_graph->SetExtentX(m_startTime, m_analysisTime);
    }
    m_graph->SetVisibleRangeY(0.0, 100.0);
    m_graph->SetExtentY(0.0, 100.0);
    m_graph->update();
}

void CQuelmarDlg::PlacePages() {
    const QRect area = m_tab->DisplayArea().translated(m_tab->pos());
    for (CTablePg* page : m_pages) {
        page->setGeometry(area);
        page->raise();
    }
}
