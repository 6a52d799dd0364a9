#pragma once

#include <QSize>
#include <QString>

// A picture of a chromatogram drawn without a window: quelmar --render FILE -o OUT.
struct RenderRequest {
    QString input;   // a .xstg document or a .json scenario
    QString output;  // .png or .svg
    QSize size{1200, 600};
    int channel = 0;  // the channel's position from 0, as xstgtool names per-channel files
};

// Parses "WxH" ("1200x600"); an invalid size for anything else.
QSize ParsePictureSize(const QString& text);

// Draws the channel with the program's own plot engine, the time axis over the whole analysis
// and the response axis fitted to the curve, with the peak marks, and writes the picture.
// Returns the process's exit status: 0, or 1 after one line on standard error naming the file
// and what is wrong.
int RenderChromatogram(const RenderRequest& request);
