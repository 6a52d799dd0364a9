#pragma once

#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <QRect>
#include <map>
#include <optional>
#include <vector>

#include "DialogTemplate.h"
#include "file/TarvikFile4.h"
#include "table/TablePgOwner.h"

class CGraphCtrl;
class CTabCtrl;
class CTablePg;
class ISaveFileChooser;
class QLineEdit;
class QPushButton;

// The generator's main window: the chromatogram graph, the tab control with one peak table
// page per channel, six icon buttons and the four parameter edits. The application runs it
// modally; the process ends when it closes.
//
// Four lists run in parallel, always of one length and order: the channel records of m_file,
// the pages, the tabs and the graph's curves. Channel record i has number i and belongs to page
// i, tab i and curve i. Each page owns its channel's working peaks and its noise and drift; each
// curve points into its channel's samples, so every change of a signal's length or of the
// channel list ends by rebuilding the curves.
class CQuelmarDlg : public QDialog, public ITablePgOwner {
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

    // Channels and tabs.
    // Appends a channel with a flat signal of the current length and makes it current. Refused,
    // with nothing changed, for a channel the document could not number (more than
    // kMaxChannels) or hold (the samples of all channels over the document's limit), and while
    // the edits hold a time or rate the handlers refuse.
    bool OnAddChannel();
    // Removes the channel of the selected tab, unless it is the only one.
    void OnDeleteChannel();
    void OnTabSelChange();
    void SelectChannel(int index);
    void RebuildGraphSeries();
    void ResetAxisRanges();

    // Parameters and regeneration.
    void OnAnalysisTimeChanged();
    void OnSampleRateChanged();
    void OnNoiseChanged();
    void OnDriftChanged();
    void OnMarkPeaks();
    void OnDeletePeak();
    void OnDeleteAllPeaks();

    // The services the pages call (ITablePgOwner). `index` is a channel number.
    // Synthesises channel `index` from its page's peaks with its page's noise and drift, finds
    // automatic bounds, measures every area and rewrites the page's rows.
    void RegenerateChannel(int index) override;
    // Fits the peak's width to its area on channel `index`, with that channel's noise and
    // drift; the caller regenerates afterwards.
    void ApplyPeakArea(GenPeak4& peak, int index) override;
    Signal4* ChannelSignal(int index) override;
    void InvalidateDialog() override;

    // Reactions to the graph's gestures on the current channel.
    void OnPeakCreated(GenPeak4 peak);
    void OnPeakSelected(int index);
    void OnPeakBoundsChanged(double front, double back, int index);
    void OnPeakApexMoved(double time, double height, int index);
    void OnPeakWidthChanged(double width, int index);
    void OnPeakEditFinished();

    // Save: asks for a path, refreshes every stored peak table, stamps the passport with a new
    // assay identifier and the current time, and writes the document. A failure is shown with
    // the file and the reason; peaks left out of the stored tables are counted for the user.
    void OnSave();
    // Refills channel `index`'s stored table from its page, leaving out peaks whose bounds
    // reach the end of the analysis. Returns how many were left out.
    int CollectPeaksForSave(int index);
    // Replaces the save dialog (tests give paths without showing one).
    void SetSaveFileChooser(std::unique_ptr<ISaveFileChooser> chooser);

    // Whether the handlers accept this time and rate for `channels` channels: a positive time,
    // at least one sample per minute, ceil(time x rate) samples within the synthesis limit for
    // one channel and, all channels together, within the document's limit.
    static bool CanSizeChannels(double minutes, double per_minute, std::size_t channels);

    CTablePg* Page(int index) const;
    int ChannelCount() const { return static_cast<int>(m_pages.size()); }

    // The document numbers channels with 8 bits.
    static constexpr int kMaxChannels = 256;

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
    std::vector<CTablePg*> m_pages;  // owned through Qt's parent; one per channel
    double m_noise = 0.0;            // mV, of the current channel
    double m_drift = 0.0;            // mV per minute, of the current channel

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
    void OnEditChanged(ControlId id);
    void InstallGraphCallbacks();
    GenPeak4& CurrentPeak(int index);
    // A message over the window that does not block the caller.
    void ShowMessage(QMessageBox::Icon icon, const QString& text);
    void ConnectCommands();
    // Gives every channel a fresh signal of ceil(time x rate) zero samples on the current time
    // axis, then rebuilds the curves.
    void ResizeAllSignals();
    // A signal of ceil(time x rate) zero samples on the time axis of the current rate; the
    // caller has checked that the time and rate are acceptable.
    void GiveFreshSignal(Channel4& channel) const;
    void PlacePages();
    void RecaptionTabs();
    // Ends a mouse drag on the graph and commits an open cell editor before a command acts, so
    // neither carries over to the changed channel list or peaks.
    void FinishPendingEdits();

    std::map<ControlId, QWidget*> m_controls;
    QSize m_templatePixels;              // client size of the template, the base of every resize
    std::optional<QRect> m_storedFrame;  // applied once the window manager has framed us
    int m_frameWaits = 0;
    std::map<ControlId, bool> m_invalidShown;
    std::unique_ptr<ISaveFileChooser> m_saveChooser;
};
