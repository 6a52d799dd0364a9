#pragma once

#include "model/GeneratorModel.h"

class CGraphCtrl;

// How a chromatogram graph is set up to show a model's channels, for the window and for pictures
// drawn without one: captions in the user's language, zoom on the right button (the left belongs
// to peak editing), grid and ticks on every side, and one curve per channel, only `current`'s
// drawn.
void ConfigureChromatogramGraph(CGraphCtrl& graph);
void ShowChannelCurves(CGraphCtrl& graph, const CGeneratorModel& model, int current);
// The peaks of `channel` as marks standing on its baseline, `selected` highlighted.
void ShowChannelPeaks(CGraphCtrl& graph, const CGeneratorModel& model, int channel, int selected);
