#pragma once

#include <QString>
#include <memory>

#include "model/GeneratorModel.h"

// A chromatogram read from a file for the window or for a picture: the model, or why not.
struct OpenedChromatogram {
    std::unique_ptr<CGeneratorModel> model;  // null when the file could not be opened
    QString error;                           // why, in the user's language
    QString note;                            // what could not be recovered, when something
    bool is_document = false;  // a document, saved back to its file; a scenario is not
};

// Opens a .json scenario as the command-line generator makes it, or a document with its samples
// as stored and its working settings from its settings entry. The reason of a failure names what
// the document layer found (and the system's words, and where the XML parser stopped).
OpenedChromatogram OpenChromatogram(const QString& path);
