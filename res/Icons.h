#pragma once

#include <QIcon>

// The program's icons, drawn as SVG so that they stay crisp at 16 px and at any device pixel
// ratio. All share one style: a blue chromatogram stroke or tab, a grey baseline, and a green
// plus for "add", a red cross or minus for "remove".
enum class IconId : int {
    App = 128,             // the window: a peak trace on a blue tile
    MarkPeaks = 132,       // a peak with a green plus: place peaks with the mouse
    DeletePeak = 133,      // a peak with a red cross: delete the selected peaks
    DeleteAllPeaks = 134,  // two peaks with a red cross: delete all peaks of the channel
    AddChannel = 135,      // a tab with a green plus
    DeleteChannel = 136,   // a tab with a red minus
    Save = 140,            // a floppy disk
};

// The icon, or a null icon when the resource is missing.
QIcon LoadIcon(IconId id);
