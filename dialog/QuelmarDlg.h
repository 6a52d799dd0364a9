#pragma once

#include <QDialog>

// The generator's main window: a resizable dialog that the application runs modally; the
// process ends when it closes.
class CQuelmarDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQuelmarDlg(QWidget* parent = nullptr);
};
