#pragma once

#include <QDialog>
#include <QIcon>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "DialogTemplate.h"
#include "model/GeneratorModel.h"
#include "table/TablePgOwner.h"

class CGraphCtrl;
class CTabCtrl;
class CTablePg;
class IOpenFileChooser;
class ISaveFileChooser;
class QLabel;
class QMenuBar;
class QLineEdit;
class QPushButton;

// The generator's main window: the chromatogram graph, the tab control with one peak table page
// per channel, six icon buttons, the four parameter edits and a status line. The application
// runs it modally; the process ends when it closes.
//
// The window is a view of the generator model (CGeneratorModel): every command and gesture is a
// call on the model, which applies it whole or refuses it with a reason; the window then redraws
// what the model says changed, or says why on the status line. The pages, tabs and curves follow
// the model's channels, page i, tab i and curve i showing channel i.
class CQuelmarDlg : public QDialog, private ITablePgOwner {
    Q_OBJECT

public:
    explicit CQuelmarDlg(QWidget* parent = nullptr);
    ~CQuelmarDlg() override;

    // "major.minor.build.revision" of the program.
    static QString GetVersionString();

    // The controls of the template (null for an unknown id), for the tests and the layout.
    QWidget* Control(ControlId id) const;
    QLineEdit* Edit(ControlId id) const;
    CGraphCtrl* Graph() const { return m_graph; }
    CTabCtrl* Tabs() const { return m_tab; }
    CTablePg* Page(int index) const;
    const CGeneratorModel& Model() const { return *m_model; }
    int ChannelCount() const { return static_cast<int>(m_pages.size()); }
    int CurrentChannel() const { return m_currentChannel; }
    // What the status line says now.
    QString StatusText() const;

    // Commands, as the buttons and keys give them.
    // Appends a channel with a flat signal of the current length and makes it current. False,
    // with the reason on the status line, when the model refuses.
    bool OnAddChannel();
    // Removes the channel of the selected tab, unless it is the only one.
    void OnDeleteChannel();
    void OnTabSelChange();
    void SelectChannel(int index);
    void OnMarkPeaks();
    // Commits an open cell edit, then deletes the peaks selected in the current page.
    void OnDeletePeak();
    // Deletes every peak of the current channel and fits the view to the curve again.
    void OnDeleteAllPeaks();
    // Opens the current channel's baseline and noise components (CComponentsDlg); what the form
    // says when it is accepted is one change of the model, undone as one.
    void OnEditComponents();
    // The form that OnEditComponents shows, not yet run: tests fill it and accept it.
    std::unique_ptr<class CComponentsDlg> MakeComponentsDialog();
    // Asks for a path, refreshes every stored peak table, stamps the passport with a new assay
    // identifier and the current time, and writes the document, with progress when it takes
    // longer than half a second. A failure is shown with the file and the reason. True when the
    // work was saved.
    bool OnSave();
    // Runs one operation on the model and shows what it changed, or why it was refused. The
    // commands above go through here; so can anything else that drives the model.
    bool Apply(const std::function<ModelChange(CGeneratorModel&)>& operation);

    // The document's lifecycle. Undo and redo go back and forth through the model's history.
    void OnUndo();
    void OnRedo();
    // Writes to the file the work was opened from or last saved to, asking only the first time.
    // True when the work is saved.
    bool OnSaveToCurrentFile();
    // A new chromatogram (after the unsaved-changes question): one flat channel, the current
    // time and rate, nothing to undo.
    void OnNew();
    // Asks for a file and opens it (after the unsaved-changes question).
    void OnOpen();
    // Exports of the current chromatogram and pictures of the graph. Each asks for a file (the
    // picture first for its size and whether to show the peak marks); the ...To forms are the
    // commands behind them. The exports write what `xstgtool export` writes for the document as
    // it would be saved now; the picture is what the graph shows. False, with the reason on the
    // status line, when nothing was written.
    void OnExportCsv();
    void OnExportAia();
    void OnExportPicture();
    bool ExportCsvTo(const QString& path);
    bool ExportAiaTo(const QString& path);
    bool ExportPictureTo(const QString& path, QSize size, bool marks);
    // Puts the graph, as it shows now with its marks, on the clipboard as an image.
    void OnCopyPicture();
    QMenuBar* MenuBar() const { return m_menuBar; }
    // Opens a document or a scenario in place of the work. A file that cannot be opened leaves
    // the work as it was and says which file and why; false then.
    bool OpenFile(const QString& path);
    // The file the work belongs to; empty for a new chromatogram.
    QString DocumentPath() const { return m_documentPath; }
    // Asks "Сохранить изменения?" when the work has unsaved changes. True when the caller may go
    // on (saved, or not to be saved); false to keep the window and the work (Cancel, Escape, or
    // a save that failed).
    bool MaySetWorkAside();

    // Replaces the save dialog (tests give paths without showing one).
    void SetSaveFileChooser(std::unique_ptr<ISaveFileChooser> chooser);
    void SetOpenFileChooser(std::unique_ptr<IOpenFileChooser> chooser);
    // How long a save runs before it shows its progress (tests shorten it).
    void SetProgressDelay(int milliseconds) { m_progressDelayMs = milliseconds; }

    QIcon m_hIcon;
    // The window's frame rectangle before the saved placement was applied.
    QRect m_initialRect;

public slots:
    // Closes the window unless the user keeps it at the unsaved-changes question; then saves
    // the placement, analysis time and sampling rate to the profile.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The page protocol (ITablePgOwner).
    QString OnPeakValueEdited(CTablePg& page, int row, PeakValue what, double value) override;
    QString OnPeakRenamed(CTablePg& page, int row, const std::string& name) override;
    void OnRowSelected(CTablePg& page, int row) override;
    void OnDeleteRequested(CTablePg& page) override;
    int IndexOf(const CTablePg& page) const;

    // Start-up and layout.
    void CreateControls();
    void OnInitDialog();
    void RestoreWindowState();
    void ApplyStoredFrame();
    void SetIcons();
    void SetToolTips();
    void ConfigureGraph();
    void LayOutControls();
    void SetTabOrder();
    void CreateMenus();
    // The client size of the template and the menu bar above it.
    QSize TemplateClientSize() const;
    // Filters the keys of the whole window before its controls see them. True: consumed.
    bool FilterKey(QObject* receiver, const QKeyEvent& key);

    // The parameter edits. Each shows the value in effect; a text that is not, or that the
    // model refuses, marks its edit invalid with the reason and the value in effect until the
    // edit is left or Enter is pressed, which shows the value in effect again.
    void OnEditTextEdited(ControlId id);
    void OnEditFinished(ControlId id);
    double ValueInEffect(ControlId id) const;
    ModelChange ApplyParameter(ControlId id, double value);
    void ShowEditState(ControlId id, const QString& refusal);
    // Writes the values in effect into the edits, all but `typed_in`.
    void WriteEdits(std::optional<ControlId> typed_in = std::nullopt);

    // The graph's gestures on the current channel.
    void InstallGraphCallbacks();
    void OnPeakCreated(GenPeak4 peak);
    void OnPeakSelected(int index);
    void OnPeakDragged(int index, const ModelChange& change);
    void OnPeakEditFinished();
    void OnPeakEditCancelled();

    // Redraws what the model says changed. A refused change says why on the status line and
    // returns false.
    bool Show(const ModelChange& change, std::optional<ControlId> typed_in = std::nullopt);
    void SyncPages(const ModelChange& change);
    void RebuildGraphSeries();
    void ResetAxisRanges();
    void FitViewToCurve();
    void ShowCurrentPeaks();
    void PlacePages();
    void RecaptionTabs();
    // Ends a mouse drag on the graph and commits an open cell editor before a command acts.
    void FinishPendingEdits();
    void SetStatus(const QString& text);

    int SaveInBackground(const std::string& path, std::int64_t date);
    // Ends pending edits and asks for an export's file ("" when the user cancels).
    QString ChooseExportPath(const char* filter, const QString& suffix);
    // Throws, with the reason in words, when an export's files include the work's own file.
    void RefuseExportOverDocument(const std::vector<std::string>& files) const;
    // Writes the work to `path`; true on success, else the failure is shown.
    bool SaveTo(const QString& path);
    // "run1.xstg* — <title>  <version>": the file's name, a mark while there are unsaved
    // changes.
    void UpdateCaption();
    bool OpenDocument(const QString& path);
    void ShowOpenFailure(const QString& path, const QString& reason);
    // Puts `model` in place of the work, as a new or opened chromatogram.
    void TakeModel(std::unique_ptr<CGeneratorModel> model, const QString& path);

    std::unique_ptr<CGeneratorModel> m_model;
    int m_currentChannel = -1;
    CTabCtrl* m_tab = nullptr;
    CGraphCtrl* m_graph = nullptr;
    QLabel* m_status = nullptr;
    QMenuBar* m_menuBar = nullptr;
    std::vector<CTablePg*> m_pages;  // owned through Qt's parent; one per channel
    std::map<ControlId, QWidget*> m_controls;
    QSize m_templatePixels;              // client size of the template, the base of every resize
    std::optional<QRect> m_storedFrame;  // applied once the window manager has framed us
    int m_frameWaits = 0;
    std::unique_ptr<ISaveFileChooser> m_saveChooser;
    std::unique_ptr<IOpenFileChooser> m_openChooser;
    QString m_documentPath;
    // The end of the session has asked about unsaved work already.
    bool m_closeAsked = false;
    // A save that takes longer than this shows its progress.
    int m_progressDelayMs = 500;
};
