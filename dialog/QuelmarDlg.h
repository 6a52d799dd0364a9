#pragma once

#include <QDialog>
#include <QIcon>
#include <QRect>
#include <map>
#include <optional>

#include "DialogTemplate.h"
#include "file/TarvikFile4.h"

class CGraphCtrl;
class CTabCtrl;
class QLineEdit;
class QPushButton;

// The generator's main window: the chromatogram graph, the tab control with one peak table
// page per channel, six icon buttons and the four parameter edits. The application runs it
// modally; the process ends when it closes.
class CQuelmarDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQuelmarDlg(QWidget* parent = nullptr);
    ~CQuelmarDlg() override;

    // "major.minor.build.revision" of the program.
    static QString GetVersionString();

    // The edit and the button of a template control (null for other kinds), for the tests and
    // the layout.
    QWidget* Control(ControlId id) const;
    QLineEdit* Edit(ControlId id) const;

    // Writes the four fields into their edits as decimal text with a point ("10" for 10.0);
    // no change handler runs.
    void WriteEdits();

    QIcon m_hIcon;
    // The window's frame rectangle before the saved placement was applied; its size (as the
    // client size of the template) is the smallest the window may become.
    QRect m_initialRect;
    double m_startTime = 0.0;      // minutes; time of sample 0 of every signal
    double m_analysisTime = 10.0;  // minutes
    double m_sampleRate = 100.0;   // samples per minute
    int m_currentChannel = -1;
    CTarvikFile4Improved m_file;
    CTabCtrl* m_tab = nullptr;
    CGraphCtrl* m_graph = nullptr;
    double m_noise = 0.0;  // mV, of the current channel
    double m_drift = 0.0;  // mV per minute, of the current channel

public slots:
    // Saves the placement, analysis time and sampling rate to the profile, then closes.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void OnInitDialog();
    void RestoreWindowState();
    void ApplyStoredFrame();
    void SetIcons();
    void SetToolTips();
    void ConfigureGraph();
    void LayOutControls();
    // Filters the keys of the whole window before its controls see them. True: consumed.
    bool FilterKey(QObject* receiver, const QKeyEvent& key);
    // Reads one edit into its field: a finite number is stored; text that can only become a
    // number by typing on changes nothing; anything else changes nothing and says so once.
    bool ReadEdit(ControlId id);
    double* FieldOf(ControlId id);
    void ShowNotANumber(QLineEdit* edit);

    std::map<ControlId, QWidget*> m_controls;
    QSize m_templatePixels;              // client size of the template, the base of every resize
    std::optional<QRect> m_storedFrame;  // applied once the window manager has framed us
    std::map<ControlId, bool> m_invalidShown;
};
