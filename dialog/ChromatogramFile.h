#pragma once

#include <QString>
#include <memory>

#include "model/GeneratorModel.h"

// A chromatogram read from a file for the window or for a picture: the model, or why not.
struct OpenedChromatogram {
    std::unique_ptr<CGeneratorModel> model;  // null when the file could not be opened
    QString error;                           // why, in the user's language
    QString note;                            // what could not be recovered, when something
};

// Opens a .xstg document with its samples as stored. The reason of a failure names what the
// document layer found (and the system's words, and where the XML parser stopped).
OpenedChromatogram OpenChromatogram(const QString& path);
