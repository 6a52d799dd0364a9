#pragma once

#include <functional>
#include <vector>

#include "PeakMarks.h"
#include "plot/AutoCtrl.h"
#include "synth/Peak4.h"

// The chromatogram window: the plot control with the current channel's peak marks on top, a
// crosshair and a coordinate read-out while peaks are placed, and mouse editing of the peaks.
//
// The graph never changes a peak: it reports every gesture through the six callbacks and its
// owner changes the peak list, regenerates and repaints. The owner points m_peaks and
// m_selectedPeak at the current channel's page and re-points them when the channel changes.
//
// The left button belongs to peak editing; the owner binds zooming to the right button.
class CGraphCtrl : public CAutoCtrl {
    Q_OBJECT

public:
    // A mark within this many pixels in x and in y of a click is hit.
    static constexpr int kHitTolerance = 8;

    explicit CGraphCtrl(QWidget* parent = nullptr);

    // Plain calls behind the mouse handlers, in client pixels of the graph. Only points inside
    // the plot rectangle of the last paint count.
    void OnLeftButtonDown(PlotPoint at);
    // `left_held`: whether the left button is still down; a drag whose release was lost ends.
    void OnMouseMoveAt(PlotPoint at, bool left_held);
    void OnLeftButtonUp();
    // Ends a drag under way (reporting OnPeakEditFinished once) and forgets it; nothing happens
    // when no drag runs. The owner calls it before it switches channels or removes peaks, so a
    // drag never carries over to another peak.
    void EndDrag();
    bool Dragging() const { return m_dragMode != PeakDrag::None; }
    // The mouse went elsewhere (a popup, another window, the window hidden): a drag ends as at
    // its release, then the plot's own gestures end.
    void OnCaptureLost() override;

    // Not owned; null or empty draws no marks.
    std::vector<GenPeak4>* m_peaks = nullptr;
    // Not owned; -1 or an index past the list selects nothing.
    int* m_selectedPeak = nullptr;
    bool m_markingMode = false;
    int m_cursorX = 0;
    int m_cursorY = 0;
    PeakDrag m_dragMode = PeakDrag::None;
    int m_dragIndex = -1;
    int m_dragX = 0;
    int m_dragY = 0;
    Rgb m_peakColour{38, 213, 153};
    Rgb m_selectedPeakColour{197, 197, 197};

    std::function<void(GenPeak4)> OnPeakCreated;
    std::function<void(int)> OnPeakSelected;
    std::function<void(double, double, int)> OnPeakBoundsChanged;
    std::function<void(double, double, int)> OnPeakApexMoved;
    std::function<void(double, int)> OnPeakWidthChanged;
    std::function<void()> OnPeakEditFinished;

    // A copy of every peak placed with the mouse; only whether it is empty matters (a
    // double-click fits the response axis to the data only once peaks were placed).
    std::vector<GenPeak4> m_createdPeaks;
    int m_apexRadius = 3;
    int m_markLength = 10;  // pixels; recomputed from the plot's height at every paint
    int m_readoutOffset = 10;

protected:
    void PaintContent(Canvas& canvas, const PlotRect& client) override;
    bool FitYOnDoubleClick() const override { return !m_createdPeaks.empty(); }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CreatePeak(PlotPoint at);
    void StartDragAt(PlotPoint at);
    void ReportDrag(PlotPoint at);
    void SelectPeaksAt(PlotPoint at);
    bool DragIndexValid() const;
};
