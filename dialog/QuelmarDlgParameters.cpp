// The parameter edits, the peak buttons and the regeneration of channels.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "QuelmarDlg.h"
#include "graph/GraphCtrl.h"
#include "synth/Regeneration.h"
#include "synth/SampleCount.h"
#include "synth/WidthFit.h"
#include "table/TablePg.h"

namespace {

// Whether a value in millivolts can enter the single-precision samples without overflowing
// them: noise and drift beyond it would make infinite samples and meaningless areas.
bool WithinSampleRange(double value) {
    return std::isfinite(value) && std::fabs(value) <= FLT_MAX;
}

// The largest normal deviate the noise generator can draw: its uniforms have 53 bits, so the
// polar method's radius factor stays below sqrt(-2 ln 2^-53), about 8.6, times at most 4.5.
constexpr double kLargestDeviate = 40.0;

}  // namespace

Signal4* CQuelmarDlg::ChannelSignal(int index) {
    for (Channel4& channel : m_file.m_channels)
        if (channel.number == index) return &channel.signal;
    return nullptr;
}

void CQuelmarDlg::InvalidateDialog() {
    update();
    m_graph->update();
}

void CQuelmarDlg::RegenerateChannel(int index) {
    Signal4* signal = ChannelSignal(index);
    if (signal == nullptr || index >= ChannelCount()) return;
    CTablePg* page = Page(index);
    // The channel's own noise and drift, whichever channel is shown.
    RegenerateSignal(*signal, page->m_peaks, page->m_channelNoise, page->m_channelDrift);
    page->RefreshRows();
    m_graph->update();
}

void CQuelmarDlg::ApplyPeakArea(GenPeak4& peak, int index) {
    Signal4* signal = ChannelSignal(index);
    if (signal == nullptr || index >= ChannelCount()) return;
    CTablePg* page = Page(index);
    std::vector<GenPeak4>& peaks = page->m_peaks;
    const auto fitted = std::find_if(peaks.begin(), peaks.end(),
                                     [&peak](const GenPeak4& p) { return &p == &peak; });
    if (fitted == peaks.end()) return;
    FitWidthToArea(*signal, peaks, static_cast<std::size_t>(fitted - peaks.begin()), peak.area,
                   page->m_channelNoise, page->m_channelDrift);
}

void CQuelmarDlg::GiveFreshSignal(Channel4& channel) const {
    Signal4 fresh;
    fresh.start = m_startTime;
    fresh.step = 1.0 / m_sampleRate;
    fresh.last_index = -1;
    channel.signal.Assign(fresh);
    channel.signal.Resize(ComputeSampleCount(m_analysisTime, m_sampleRate).count);
}

void CQuelmarDlg::ResizeAllSignals() {
    for (Channel4& channel : m_file.m_channels) GiveFreshSignal(channel);
    RebuildGraphSeries();
}

void CQuelmarDlg::OnAnalysisTimeChanged() {
    // Checked before anything is resized: a refused time allocates nothing and keeps the
    // signals as they are.
    if (!CanSizeChannels(m_analysisTime, m_sampleRate, m_file.m_channels.size())) return;
    FinishPendingEdits();
    ResetAxisRanges();
    ResizeAllSignals();
    for (int i = 0; i < ChannelCount(); ++i) RegenerateChannel(i);
}

void CQuelmarDlg::OnSampleRateChanged() {
    if (!CanSizeChannels(m_analysisTime, m_sampleRate, m_file.m_channels.size())) return;
    FinishPendingEdits();
    ResizeAllSignals();
    // Bounds are found on the clean signal inside each regeneration, as everywhere else.
    for (int i = 0; i < ChannelCount(); ++i) RegenerateChannel(i);
}

void CQuelmarDlg::OnNoiseChanged() {
    if (!WithinSampleRange(m_noise * kLargestDeviate) || m_currentChannel < 0) return;
    Page(m_currentChannel)->m_channelNoise = m_noise;
    RegenerateChannel(m_currentChannel);
}

void CQuelmarDlg::OnDriftChanged() {
    // The drift adds drift x t: its largest contribution is at the end of the analysis.
    const double end = std::max(1.0, std::fabs(m_analysisTime));
    if (!WithinSampleRange(m_drift) || !WithinSampleRange(m_drift * end) || m_currentChannel < 0)
        return;
    Page(m_currentChannel)->m_channelDrift = m_drift;
    RegenerateChannel(m_currentChannel);
}

void CQuelmarDlg::OnMarkPeaks() {
    m_graph->m_markingMode = !m_graph->m_markingMode;
    m_graph->update();
}

void CQuelmarDlg::OnDeletePeak() {
    if (m_currentChannel < 0) return;
    FinishPendingEdits();
    Page(m_currentChannel)->DeleteSelectedPeaks();
    RegenerateChannel(m_currentChannel);
}

void CQuelmarDlg::OnDeleteAllPeaks() {
    if (m_currentChannel < 0) return;
    FinishPendingEdits();
    Page(m_currentChannel)->m_peaks.clear();
    RegenerateChannel(m_currentChannel);
}

void CQuelmarDlg::FinishPendingEdits() {
    m_graph->EndDrag();
    for (CTablePg* page : m_pages) page->CommitEdit();
}
