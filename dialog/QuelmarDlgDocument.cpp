// The document's lifecycle in the window: the caption, undo and redo, a new chromatogram, saving
// to the current file and the question before unsaved work is set aside.
#include <QFileInfo>
#include <QMessageBox>

#include "QuelmarDlg.h"
#include "SaveFileChooser.h"
#include "TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Strings.h"
#include "table/TablePg.h"

void CQuelmarDlg::UpdateCaption() {
    const QString version = GetVersionString();
    const QString title = Strings::Tr(Strings::kDialogCaption) +
                          (version.isEmpty() ? QString() : QStringLiteral("  ") + version);
    const QString name = m_documentPath.isEmpty() ? Strings::Tr(Strings::kUntitled)
                                                  : QFileInfo(m_documentPath).fileName();
    setWindowTitle(Strings::Tr(Strings::kCaption)
                       .arg(name, m_model->Modified() ? QStringLiteral("*") : QString(), title));
}

void CQuelmarDlg::OnUndo() {
    FinishPendingEdits();
    Show(m_model->Undo());
}

void CQuelmarDlg::OnRedo() {
    FinishPendingEdits();
    Show(m_model->Redo());
}

bool CQuelmarDlg::OnSaveToCurrentFile() {
    FinishPendingEdits();
    return m_documentPath.isEmpty() ? OnSave() : SaveTo(m_documentPath);
}

void CQuelmarDlg::OnNew() {
    FinishPendingEdits();
    if (!MaySetWorkAside()) return;
    auto model = std::make_unique<CGeneratorModel>(m_model->AnalysisTime(), m_model->SampleRate());
    model->AddChannel();
    model->StartHistory();
    TakeModel(std::move(model), QString());
}

bool CQuelmarDlg::MaySetWorkAside() {
    if (!m_model->Modified()) return true;
    QMessageBox question(QMessageBox::Question, windowTitle(),
                         Strings::Tr(Strings::kSaveChangesQuestion),
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    question.setDefaultButton(QMessageBox::Save);
    question.setEscapeButton(QMessageBox::Cancel);
    switch (question.exec()) {
        case QMessageBox::Save:
            // A save that fails keeps the window and the work.
            return OnSaveToCurrentFile();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

void CQuelmarDlg::TakeModel(std::unique_ptr<CGeneratorModel> model, const QString& path) {
    m_graph->EndDrag();
    m_graph->ShowPeaks(nullptr, -1);
    for (CTablePg* page : m_pages) {
        page->CommitEdit();
        delete page;
    }
    m_pages.clear();
    while (m_tab->Count() > 0) m_tab->DeleteItem(0);
    m_model = std::move(model);
    m_documentPath = path;
    m_currentChannel = -1;
    ModelChange all;
    all.channel_list = true;
    all.inserted = m_model->ChannelCount();
    Show(all);
    // A chromatogram opens at its first channel, as a new one starts.
    SelectChannel(0);
    ResetAxisRanges();
}
