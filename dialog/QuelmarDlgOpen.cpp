// Opening a document in place of the work.
#include <QFile>
#include <QMessageBox>

#include "ChromatogramFile.h"
#include "OpenFileChooser.h"
#include "QuelmarDlg.h"
#include "res/Strings.h"

void CQuelmarDlg::SetOpenFileChooser(std::unique_ptr<IOpenFileChooser> chooser) {
    m_openChooser = std::move(chooser);
}

void CQuelmarDlg::OnOpen() {
    FinishPendingEdits();
    if (!MaySetWorkAside()) return;
    if (!m_openChooser) m_openChooser = std::make_unique<COpenFileDialogChooser>();
    const QString path = m_openChooser->ChoosePath(this);
    if (!path.isEmpty()) OpenFile(path);
}

bool CQuelmarDlg::OpenFile(const QString& path) {
    FinishPendingEdits();
    return OpenDocument(path);
}

bool CQuelmarDlg::OpenDocument(const QString& path) {
    OpenedChromatogram opened = OpenChromatogram(path);
    if (!opened.model) {
        ShowOpenFailure(path, opened.error);
        return false;
    }
    TakeModel(std::move(opened.model), path);
    QString status = Strings::Tr(Strings::kOpened).arg(path);
    if (!opened.note.isEmpty()) status += QStringLiteral(". ") + opened.note;
    SetStatus(status);
    return true;
}

void CQuelmarDlg::ShowOpenFailure(const QString& path, const QString& reason) {
    const QString message = Strings::Tr(Strings::kOpenFailed).arg(path, reason);
    auto* box = new QMessageBox(QMessageBox::Warning, Strings::Tr(Strings::kOpenFailedTitle),
                                message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    SetStatus(message.simplified());
}
