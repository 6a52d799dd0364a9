#pragma once

#include "AutoPanel.h"

// View notifications of a plot control to its parent. The numbers are part of the contract
// between the controls and stay fixed.
enum class AutoNotify : int {
    ZoomApplied = 1025,
    ScrolledHorizontally = 1026,
    ScrolledVertically = 1027,
    ZoomRejected = 1028,
};

enum class ScrollRequest {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    LineLeft,
    LineRight,
    PageLeft,
    PageRight,
    Other
};

enum class PlotButton { Left, Right, Middle };

// Navigation of a panel, free of any window system: rubber-band zoom, scrolling by one tick
// step, wheel scrolling and zooming, and fitting to the data. The window that shows the panel
// turns its mouse events into these calls, and answers Invalidate (repaint later) and Notify.
// The handlers return false for an event they do not consume, which the window passes on to
// its parent.
class CAutoView : public CAutoPanel {
public:
    // Which button drags the rubber band.
    enum class ZoomButton : int { Left = 0, Right = 1 };
    // A zoom may not make a view narrower than this fraction of its own magnitude.
    static constexpr double kMinRelativeWidth = 1e-5;
    // A rubber band narrower or lower than this many pixels is a click, not a zoom.
    static constexpr int kMinBandPixels = 3;

    // max <= min returns the axis to automatic scaling; otherwise the range is fixed (and
    // visible at once, so that further navigation starts from it). None of them repaints.
    void SetVisibleRangeX(double min, double max);
    void SetVisibleRangeY(double min, double max);
    // max <= min lets the double-click fit the axis to the data again; otherwise the extent is
    // fixed, keeping horizontal scrolling and the vertical zoom-out within it.
    void SetExtentX(double min, double max);
    void SetExtentY(double min, double max);

    bool OnButtonDown(PlotButton button, PlotPoint at);
    // `zoom_button_held`: whether the zoom button is still down; a move without it during a
    // rubber band means its release went elsewhere, and ends the band as OnCaptureLost does.
    // Moves are always passed on.
    bool OnMouseMove(PlotPoint at, bool zoom_button_held);
    bool OnButtonUp(PlotButton button, PlotPoint at);
    // Positive delta: the wheel rolled away from the user. A zero delta does nothing.
    void OnWheel(int delta, bool shift, bool control);
    // Fits X (and, when FitYOnDoubleClick allows, Y) to the data; passed on afterwards.
    bool OnDoubleClick();
    // The mouse has gone elsewhere and no button up will come: another window or a popup took
    // it, the window was deactivated, hidden or disabled, or a move came without the zoom
    // button during a rubber band. Ends the band without zooming or notifying (a band ended
    // while it is shown is repainted away), so the next button down starts afresh; does nothing
    // when no gesture runs. The window calls it for each such event, possibly more than once
    // for one loss. A control with drags of its own overrides it, ends them the same way and
    // calls this one.
    virtual void OnCaptureLost();
    void Scroll(ScrollRequest request);

    // Narrows the view to the given rectangle intersected with what is visible; false, with
    // nothing changed, when the result would be too narrow.
    bool ZoomToRect(double x1, double x2, double y1, double y2);
    // Widens Y to include [y1, y2] while X stays within the extent.
    bool ZoomOutVertically(double x1, double x2, double y1, double y2);

    bool BandActive() const { return m_band_active; }
    // The rubber band with ordered corners, right and bottom exclusive.
    PlotRect BandRect() const;

    double m_extent_x_min = 0.0;
    double m_extent_x_max = 0.0;
    double m_extent_y_min = 0.0;
    double m_extent_y_max = 0.0;
    bool m_zoom_enabled = true;
    bool m_fit_x_to_data = true;
    bool m_fit_y_to_data = true;
    ZoomButton m_zoom_button = ZoomButton::Left;

protected:
    virtual void Invalidate() {}
    virtual void Notify(AutoNotify) {}
    // Whether a double-click fits Y as well as X. A derived control may want Y left alone.
    virtual bool FitYOnDoubleClick() const { return true; }

private:
    bool IsZoomButton(PlotButton button) const;
    void FinishZoom();
    void ApplyRange(double x1, double x2, double y1, double y2);
    void ScrollHorizontally(double delta);
    // The X extent for scrolling and zoom-out: the data's when it follows the data.
    void RefreshExtentX();
    // The data range becomes the extent and, when not empty, the fixed range of the axis.
    void FitToData(PlotAxis axis);

    bool m_band_active = false;
    PlotPoint m_band_anchor;
    PlotPoint m_band_corner;
};
