#include "GraphCtrl.h"

#include <QMouseEvent>
#include <algorithm>

#include "PeakHitTest.h"

namespace {

PlotPoint ToPlotPoint(const QPointF& p) {
    return {p.toPoint().x(), p.toPoint().y()};
}

template <typename Callback, typename... Args>
void Fire(const Callback& callback, Args... args) {
    if (callback) callback(args...);
}

// The nearest point inside the plot rectangle (right and bottom exclusive).
PlotPoint HeldInside(const PlotRect& rect, PlotPoint at) {
    return {std::clamp(at.x, rect.left, std::max(rect.left, rect.right - 1)),
            std::clamp(at.y, rect.top, std::max(rect.top, rect.bottom - 1))};
}

}  // namespace

CGraphCtrl::CGraphCtrl(QWidget* parent) : CAutoCtrl(parent) {
    // The crosshair and the read-out follow the pointer with no button held.
    setMouseTracking(true);
}

void CGraphCtrl::ShowPeaks(const std::vector<GenPeak4>* peaks, int selected, BaselineFn baseline) {
    m_peaks = peaks;
    m_selectedPeak = selected;
    m_baseline = std::move(baseline);
    if (!DragIndexValid()) {
        m_dragMode = PeakDrag::None;
        m_dragIndex = -1;
    }
    Invalidate();
}

void CGraphCtrl::SetSelectedPeak(int selected) {
    m_selectedPeak = selected;
    Invalidate();
}

void CGraphCtrl::SetMarkingMode(bool on) {
    m_markingMode = on;
    Invalidate();
}

void CGraphCtrl::PaintPicture(QPainter& painter, QSize size, bool marks) {
    m_picture = true;
    m_pictureMarks = marks;
    CAutoCtrl::PaintPicture(painter, size);
    m_picture = false;
    RenderImage();
}

void CGraphCtrl::PaintContent(Canvas& canvas, const PlotRect& client) {
    if (!Draw(canvas, client)) return;
    if (m_picture) {
        if (m_pictureMarks && m_peaks != nullptr)
            DrawPeakMarks(canvas, *this, *m_peaks, m_selectedPeak, PeakDrag::None,
                          {m_peakColour, m_selectedPeakColour, m_apexRadius}, m_baseline);
        return;
    }
    if (m_peaks != nullptr) {
        const PeakMarkStyle style{m_peakColour, m_selectedPeakColour, m_apexRadius};
        DrawPeakMarks(canvas, *this, *m_peaks, m_selectedPeak, m_dragMode, style, m_baseline);
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
    const double t = PixelToX(at.x);
    const GenPeak4 peak = MakeNewPeak(t, PixelToY(at.y) - BaselineAt(t));
    m_placedPeaks = true;
    Fire(OnPeakCreated, peak);
    Invalidate();
}

void CGraphCtrl::StartDragAt(PlotPoint at) {
    if (m_peaks == nullptr) return;
    const PeakHit hit = HitTestPeaks(*this, *m_peaks, at, kHitTolerance, m_baseline);
    if (hit.drag == PeakDrag::None) return;
    m_dragMode = hit.drag;
    m_dragIndex = hit.index;
}

void CGraphCtrl::SelectPeaksAt(PlotPoint at) {
    if (m_peaks == nullptr) return;
    const double t = PixelToX(at.x);
    // By index: the owner's reaction may change the list.
    for (std::size_t i = 0; m_peaks != nullptr && i < m_peaks->size(); ++i) {
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
    if (Dragging()) at = HeldInside(m_rect, at);
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
            Fire(OnPeakApexMoved, x, y - BaselineAt(x), m_dragIndex);
            break;
        case PeakDrag::None:
            break;
    }
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

void CGraphCtrl::CancelDrag() {
    if (!Dragging()) return;
    m_dragMode = PeakDrag::None;
    m_dragIndex = -1;
    Fire(OnPeakEditCancelled);
    Invalidate();
}

void CGraphCtrl::OnCaptureLost() {
    EndDrag();
    CAutoCtrl::OnCaptureLost();
}

void CGraphCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // Another button during a peak drag would start a zoom under the dragged mark.
        if (Dragging()) {
            event->accept();
            return;
        }
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
    if (event->button() == Qt::LeftButton) {
        OnLeftButtonUp();
    } else if (Dragging()) {
        event->accept();
        return;
    }
    CAutoCtrl::mouseReleaseEvent(event);
}
