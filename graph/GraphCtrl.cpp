#include "GraphCtrl.h"

#include <QMouseEvent>
#include <cstdlib>

#include "PeakHitTest.h"

namespace {

PlotPoint ToPlotPoint(const QPointF& p) {
    return {p.toPoint().x(), p.toPoint().y()};
}

template <typename Callback, typename... Args>
void Fire(const Callback& callback, Args... args) {
    if (callback) callback(args...);
}

}  // namespace

CGraphCtrl::CGraphCtrl(QWidget* parent) : CAutoCtrl(parent) {
    // The crosshair and the read-out follow the pointer with no button held.
    setMouseTracking(true);
}

void CGraphCtrl::PaintContent(Canvas& canvas, const PlotRect& client) {
    if (!Draw(canvas, client)) return;
    m_markLength = MarkLength(m_rect);
    if (m_peaks != nullptr) {
        const int selected = m_selectedPeak != nullptr ? *m_selectedPeak : -1;
        const PeakMarkStyle style{m_peakColour, m_selectedPeakColour, m_apexRadius};
        DrawPeakMarks(canvas, *this, *m_peaks, selected, m_dragMode, style);
    }
    const PlotPoint cursor{m_cursorX, m_cursorY};
    if (m_markingMode) DrawCrosshair(canvas, m_rect, cursor);
    if (m_markingMode || m_dragMode == PeakDrag::Apex)
        DrawReadout(canvas, cursor, PixelToX(m_cursorX), PixelToY(m_cursorY), m_readoutOffset,
                    m_tick_font);
}

void CGraphCtrl::OnLeftButtonDown(PlotPoint at) {
    if (!m_rect.Contains(at)) return;
    if (m_markingMode)
        CreatePeak(at);
    else
        StartDragAt(at);
    // After a creation: the owner may already have given the new peak its bounds.
    SelectPeaksAt(at);
}

void CGraphCtrl::CreatePeak(PlotPoint at) {
    const GenPeak4 peak = MakeNewPeak(PixelToX(at.x), PixelToY(at.y));
    m_createdPeaks.push_back(peak);
    Fire(OnPeakCreated, peak);
    Invalidate();
}

void CGraphCtrl::StartDragAt(PlotPoint at) {
    if (m_peaks == nullptr) return;
    const PeakHit hit = HitTestPeaks(*this, *m_peaks, at, kHitTolerance);
    if (hit.drag == PeakDrag::None) return;
    m_dragMode = hit.drag;
    m_dragIndex = hit.index;
    m_dragX = at.x;
    m_dragY = at.y;
}

void CGraphCtrl::SelectPeaksAt(PlotPoint at) {
    if (m_peaks == nullptr) return;
    const double t = PixelToX(at.x);
    // By index: the owner's reaction may change the list.
    for (std::size_t i = 0; i < m_peaks->size(); ++i) {
        const GenPeak4& peak = (*m_peaks)[i];
        if (peak.front < t && t < peak.back) Fire(OnPeakSelected, static_cast<int>(i));
    }
}

void CGraphCtrl::OnMouseMoveAt(PlotPoint at, bool left_held) {
    // The release went to another window (it took the mouse mid-drag): the drag is over.
    if (Dragging() && !left_held) {
        EndDrag();
        return;
    }
    if (!m_rect.Contains(at)) return;
    m_cursorX = at.x;
    m_cursorY = at.y;
    if (Dragging() && DragIndexValid()) ReportDrag(at);
    if (m_markingMode || Dragging()) Invalidate();
}

void CGraphCtrl::ReportDrag(PlotPoint at) {
    const double x = PixelToX(at.x);
    const double y = PixelToY(at.y);
    const GenPeak4 peak = (*m_peaks)[static_cast<std::size_t>(m_dragIndex)];
    switch (m_dragMode) {
        case PeakDrag::Front:
            Fire(OnPeakBoundsChanged, x, peak.back, m_dragIndex);
            break;
        case PeakDrag::Back:
            Fire(OnPeakBoundsChanged, peak.front, x, m_dragIndex);
            break;
        case PeakDrag::WindowFront:
            Fire(OnPeakWidthChanged, peak.time - x, m_dragIndex);
            break;
        case PeakDrag::WindowBack:
            Fire(OnPeakWidthChanged, x - peak.time, m_dragIndex);
            break;
        case PeakDrag::Apex:
            Fire(OnPeakApexMoved, x, y, m_dragIndex);
            break;
        case PeakDrag::None:
            break;
    }
    m_dragX = at.x;
    m_dragY = at.y;
}

bool CGraphCtrl::DragIndexValid() const {
    return m_peaks != nullptr && m_dragIndex >= 0 &&
           static_cast<std::size_t>(m_dragIndex) < m_peaks->size();
}

void CGraphCtrl::OnLeftButtonUp() {
    EndDrag();
}

void CGraphCtrl::EndDrag() {
    if (!Dragging()) return;
    // Reset first: the owner's regeneration repaints, and the guides must be gone by then.
    m_dragMode = PeakDrag::None;
    m_dragIndex = -1;
    Fire(OnPeakEditFinished);
    Invalidate();
}

void CGraphCtrl::OnCaptureLost() {
    EndDrag();
    CAutoCtrl::OnCaptureLost();
}

void CGraphCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        CAutoCtrl::mousePressEvent(event);
        return;
    }
    OnLeftButtonDown(ToPlotPoint(event->position()));
    event->accept();
}

void CGraphCtrl::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMoveAt(ToPlotPoint(event->position()), event->buttons().testFlag(Qt::LeftButton));
    CAutoCtrl::mouseMoveEvent(event);
}

void CGraphCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) OnLeftButtonUp();
    CAutoCtrl::mouseReleaseEvent(event);
}
