#pragma once

#include <functional>
#include <vector>

#include "PeakMarks.h"
#include "plot/AutoCtrl.h"
#include "synth/Peak4.h"

// The chromatogram window: the plot control with the current channel's peak marks on top, a
// crosshair and a coordinate read-out while peaks are placed, and mouse editing of the peaks.
//
// The graph never changes a peak: it reports every gesture through its callbacks and its owner
// changes the peaks, regenerates and shows the graph the new list (ShowPeaks).
//
// A peak's apex is drawn, hit and dragged where it stands on the curve: at its own height plus
// what the channel's baseline (drift and the like) adds at its retention time. The heights the
// callbacks report are the peaks' own, the baseline taken off.
//
// The left button belongs to peak editing; the owner binds zooming to the right button.
class CGraphCtrl : public CAutoCtrl {
    Q_OBJECT

public:
    // A mark within this many pixels in x and in y of a click is hit.
    static constexpr int kHitTolerance = 8;

    explicit CGraphCtrl(QWidget* parent = nullptr);

    // The peaks to draw and edit (not owned; null draws none), the selected one (-1 or an index
    // past the list: none), and what the baseline adds at a time in minutes (empty: nothing).
    // The owner calls it again whenever the list or the channel changes.
    void ShowPeaks(const std::vector<GenPeak4>* peaks, int selected, BaselineFn baseline = {});
    void SetSelectedPeak(int selected);
    int SelectedPeak() const { return m_selectedPeak; }
    void SetMarkingMode(bool on);
    bool MarkingMode() const { return m_markingMode; }

    // Paints the graph for a picture at `size`: the panel and, when `marks`, the peak marks;
    // never the crosshair or the read-out. Lays the graph out for its own size again afterwards,
    // so the mouse keeps hitting what the window shows.
    void PaintPicture(QPainter& painter, QSize size, bool marks);

    // Plain calls behind the mouse handlers, in client pixels of the graph. Presses count only
    // inside the plot rectangle of the last paint; a drag that leaves it holds the mark at the
    // plot's edge.
    void OnLeftButtonDown(PlotPoint at);
    // `left_held`: whether the left button is still down; a drag whose release was lost ends.
    void OnMouseMoveAt(PlotPoint at, bool left_held);
    void OnLeftButtonUp();
    // Ends a drag under way (reporting OnPeakEditFinished once) and forgets it; nothing happens
    // when no drag runs. The owner calls it before it switches channels or removes peaks, so a
    // drag never carries over to another peak.
    void EndDrag();
    // Ends a drag under way without keeping it (reporting OnPeakEditCancelled): Escape.
    void CancelDrag();
    bool Dragging() const { return m_dragMode != PeakDrag::None; }
    PeakDrag DragMode() const { return m_dragMode; }
    // The mouse went elsewhere (a popup, another window, the window hidden): a drag ends as at
    // its release, then the plot's own gestures end.
    void OnCaptureLost() override;

    Rgb m_peakColour{38, 213, 153};
    // Dark enough to stand out on the white plot, where the selected baseline must show.
    Rgb m_selectedPeakColour{96, 96, 96};

    std::function<void(GenPeak4)> OnPeakCreated;
    std::function<void(int)> OnPeakSelected;
    std::function<void(double, double, int)> OnPeakBoundsChanged;
    std::function<void(double, double, int)> OnPeakApexMoved;
    std::function<void(double, int)> OnPeakWidthChanged;
    std::function<void()> OnPeakEditFinished;
    std::function<void()> OnPeakEditCancelled;

    int m_apexRadius = 3;
    int m_readoutOffset = 10;

protected:
    void PaintContent(Canvas& canvas, const PlotRect& client) override;
    bool FitYOnDoubleClick() const override { return m_placedPeaks; }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CreatePeak(PlotPoint at);
    void StartDragAt(PlotPoint at);
    void ReportDrag(PlotPoint at);
    void SelectPeaksAt(PlotPoint at);
    bool DragIndexValid() const;
    double BaselineAt(double t) const { return m_baseline ? m_baseline(t) : 0.0; }

    const std::vector<GenPeak4>* m_peaks = nullptr;
    int m_selectedPeak = -1;
    BaselineFn m_baseline;
    bool m_markingMode = false;
    int m_cursorX = 0;
    int m_cursorY = 0;
    PeakDrag m_dragMode = PeakDrag::None;
    int m_dragIndex = -1;
    // While a picture is painted: no crosshair, no read-out, marks only when asked for.
    bool m_picture = false;
    bool m_pictureMarks = true;
    // Whether peaks were ever placed with the mouse: a double-click fits the response axis to
    // the data only then.
    bool m_placedPeaks = false;
};
