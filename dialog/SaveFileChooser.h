#pragma once

#include <QString>

class QWidget;

// Asks the user where to save a chromatogram. The dialog holds one of these, so that tests can
// give a path without showing a window.
class ISaveFileChooser {
public:
    virtual ~ISaveFileChooser() = default;
    // The full path chosen for a document, or an empty string when the user cancelled.
    virtual QString ChoosePath(QWidget* owner) = 0;
    // The same for an export: `filter` lists the kinds of file (Qt's ";;" form), `suffix` is
    // added to a name typed without an extension.
    virtual QString ChooseExportPath(QWidget* owner, const QString& filter,
                                     const QString& suffix) = 0;
};

// The system's save dialog: "*.xstg" and all files, ".xstg" added to a name typed without an
// extension (and the overwrite question asked for the completed name), no remembered folder.
class CSaveFileDialogChooser final : public ISaveFileChooser {
public:
    QString ChoosePath(QWidget* owner) override;
    QString ChooseExportPath(QWidget* owner, const QString& filter, const QString& suffix) override;
};
