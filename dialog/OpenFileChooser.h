#pragma once

#include <QString>

class QWidget;

// Asks the user which file to open. The dialog holds one of these, so that tests can give a path
// without showing a window.
class IOpenFileChooser {
public:
    virtual ~IOpenFileChooser() = default;
    // The full path chosen, or an empty string when the user cancelled.
    virtual QString ChoosePath(QWidget* owner) = 0;
};

// The system's open dialog: chromatograms (*.xstg), scenarios (*.json) and all files.
class COpenFileDialogChooser final : public IOpenFileChooser {
public:
    QString ChoosePath(QWidget* owner) override;
};
