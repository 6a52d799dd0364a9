#pragma once

#include <QSize>
#include <QString>

class CGraphCtrl;

// The sizes a picture may have, in pixels: from a thumbnail up to a poster.
inline constexpr int kMinPictureSide = 16;
inline constexpr int kMaxPictureSide = 10000;

// Writes what the graph shows at `size` as a PNG or an SVG file, chosen by the file's extension
// (".png" or ".svg", any case), with the peak marks when `marks`. The file is replaced only when
// complete. False, with the reason in `error` (the user's language), for another extension, a
// size outside the limits or a file that cannot be written.
bool WriteGraphPicture(CGraphCtrl& graph, const QString& path, QSize size, bool marks,
                       QString* error);
