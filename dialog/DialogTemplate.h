#pragma once

#include <QRect>
#include <QSize>
#include <span>

// The main window's controls as a classic dialog template lays them out: rectangles in dialog
// units, which the dialog font turns into pixels, and for each control how it follows a change
// of the window's size.

// Control identifiers; the numbers are the template's.
enum class ControlId : int {
    Graph = 1000,
    Tabs = 1003,
    MarkPeaks = 1005,
    AddChannel = 1006,
    Save = 1007,
    DeletePeak = 1008,
    DeleteChannel = 1009,
    AnalysisTime = 1010,
    SampleRate = 1011,
    Noise = 1012,
    DeleteAllPeaks = 1013,
    Drift = 1014,
    // Opens the current channel's baseline and noise components.
    Components = 1015,
    // Static texts and the group box have no identifier of their own in the template.
    ParametersGroup = -1,
    AnalysisTimeLabel = -2,
    SampleRateLabel = -3,
    NoiseLabel = -4,
    DriftLabel = -5,
    // A line under the tabs where the window says what it did or why it refused, without a box
    // that would take the focus.
    StatusLine = -6,
};

// How far a control moves (x, y) and grows (width, height) in percent of the change of the
// window's size.
struct ResizeRule {
    int move_x = 0;
    int move_y = 0;
    int grow_x = 0;
    int grow_y = 0;
};

struct TemplateControl {
    ControlId id;
    QRect units;  // dialog units: x, y, width, height
    ResizeRule rule;
};

// Dialog base units: the dialog font's average character width and its cell height, in pixels.
// A dialog unit is a quarter of the width and an eighth of the height. The dialog font is
// DejaVu Sans at 11 pixels (about the classic 8-point dialog font at 96 dots per inch), whose
// average width of the Latin letters is 7 pixels and whose cell is 13 pixels high; they are
// fixed here so that the layout does not depend on which fonts a machine has.
struct BaseUnits {
    int x = 7;
    int y = 13;
};
inline constexpr int kDialogFontPixels = 11;
inline constexpr const char* kDialogFontFamily = "DejaVu Sans";

// The template's size in dialog units, the status line included.
inline constexpr QSize kTemplateSize{613, 325};

// The narrowest the window may become, in pixels: the template's full width is wider than a
// 1024-pixel screen, so the graph and the tabs give up some of theirs, leaving every fixed
// control whole.
inline constexpr int kMinimumWidthPixels = 1000;

// Every control of the main window, in template order, which is also the tab order.
std::span<const TemplateControl> MainTemplate();
const TemplateControl& TemplateOf(ControlId id);

// Dialog units to pixels, edge by edge (left and right, top and bottom converted separately
// and rounded to the nearest pixel), as a classic dialog maps its rectangles.
QRect UnitsToPixels(const QRect& units, BaseUnits base);
QSize UnitsToPixels(QSize units, BaseUnits base);

// A control's rectangle after the window has grown by `delta` pixels from its template size:
// computed from the initial rectangle and the whole change, never step by step, so that
// rounding cannot accumulate over many resizes.
QRect ResizedRect(const QRect& initial, const ResizeRule& rule, QSize delta);
