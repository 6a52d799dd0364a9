// Exports of the current chromatogram and pictures of its graph.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QPainter>
#include <QSpinBox>
#include <exception>
#include <stdexcept>

#include "PictureFile.h"
#include "QuelmarDlg.h"
#include "SaveFileChooser.h"
#include "cli/AiaExport.h"
#include "cli/CsvExport.h"
#include "cli/DistinctFiles.h"
#include "graph/GraphCtrl.h"
#include "res/Strings.h"

namespace {

// Asks for a picture's size and marks; false when cancelled.
bool AskPictureOptions(QWidget* owner, QSize& size, bool& marks) {
    QDialog dialog(owner);
    dialog.setWindowTitle(Strings::Tr(Strings::kPictureTitle));
    auto* form = new QFormLayout(&dialog);
    auto* width = new QSpinBox(&dialog);
    auto* height = new QSpinBox(&dialog);
    for (QSpinBox* side : {width, height}) side->setRange(kMinPictureSide, kMaxPictureSide);
    width->setValue(size.width());
    height->setValue(size.height());
    auto* with_marks = new QCheckBox(Strings::Tr(Strings::kPictureMarks), &dialog);
    with_marks->setChecked(marks);
    form->addRow(Strings::Tr(Strings::kPictureWidth), width);
    form->addRow(Strings::Tr(Strings::kPictureHeight), height);
    form->addRow(with_marks);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    size = QSize(width->value(), height->value());
    marks = with_marks->isChecked();
    return true;
}

}  // namespace

QString CQuelmarDlg::ChooseExportPath(const char* filter, const QString& suffix) {
    FinishPendingEdits();
    if (!m_saveChooser) m_saveChooser = std::make_unique<CSaveFileDialogChooser>();
    return m_saveChooser->ChooseExportPath(this, Strings::Tr(filter), suffix);
}

void CQuelmarDlg::OnExportCsv() {
    const QString path = ChooseExportPath(Strings::kCsvFilter, QStringLiteral("csv"));
    if (!path.isEmpty()) ExportCsvTo(path);
}

void CQuelmarDlg::OnExportAia() {
    const QString path = ChooseExportPath(Strings::kAiaFilter, QStringLiteral("cdf"));
    if (!path.isEmpty()) ExportAiaTo(path);
}

void CQuelmarDlg::OnExportPicture() {
    FinishPendingEdits();
    QSize size = m_graph->size();
    bool marks = true;
    if (!AskPictureOptions(this, size, marks)) return;
    const QString path = ChooseExportPath(Strings::kPictureFilter, QStringLiteral("png"));
    if (!path.isEmpty()) ExportPictureTo(path, size, marks);
}

void CQuelmarDlg::RefuseExportOverDocument(const std::vector<std::string>& files) const {
    // Written over, the file the work belongs to would hold a table or an AIA file: the next Ctrl+S
    // would put the document back, but until then it is lost (the file dialog's question about
    // replacing a file does not say which file that is). Links and other spellings count too.
    if (m_documentPath.isEmpty()) return;
    std::vector<CommandFile> all{{QFile::encodeName(m_documentPath).toStdString(), "", false}};
    for (const std::string& file : files) all.push_back({file, "", true});
    if (const auto same = FindSameFile(all))
        throw std::runtime_error(
            Strings::Tr(Strings::kExportOverDocument).arg(m_documentPath).toStdString());
}

bool CQuelmarDlg::ExportCsvTo(const QString& path) {
    // The document as a save would write it now: its stored tables refreshed.
    m_model->CollectForSave();
    try {
        const CsvExportPlan plan =
            PlanCsvExport(m_model->Document(), QFile::encodeName(path).toStdString());
        RefuseExportOverDocument(plan.files);
        PendingFiles pending;
        ExportCsv(m_model->Document(), plan, pending);
        pending.CommitAll();
        SetStatus(Strings::Tr(Strings::kExported).arg(path));
        return true;
    } catch (const std::exception& failure) {
        SetStatus(
            Strings::Tr(Strings::kExportFailed).arg(path, QString::fromStdString(failure.what())));
        return false;
    }
}

bool CQuelmarDlg::ExportAiaTo(const QString& path) {
    m_model->CollectForSave();
    // The file the document is saved in names it in the AIA files, as xstgtool names its input.
    const std::string source =
        QFile::encodeName(QFileInfo(m_documentPath.isEmpty() ? path : m_documentPath).fileName())
            .toStdString();
    try {
        const std::vector<std::string> files =
            PlanAiaExport(m_model->Document(), QFile::encodeName(path).toStdString());
        RefuseExportOverDocument(files);
        PendingFiles pending;
        ExportAia(m_model->Document(), files, source, pending);
        pending.CommitAll();
        SetStatus(Strings::Tr(Strings::kExported).arg(path));
        return true;
    } catch (const std::exception& failure) {
        SetStatus(
            Strings::Tr(Strings::kExportFailed).arg(path, QString::fromStdString(failure.what())));
        return false;
    }
}

bool CQuelmarDlg::ExportPictureTo(const QString& path, QSize size, bool marks) {
    QString error;
    if (!WriteGraphPicture(*m_graph, path, size, marks, &error)) {
        SetStatus(Strings::Tr(Strings::kExportFailed).arg(path, error));
        return false;
    }
    SetStatus(Strings::Tr(Strings::kExported).arg(path));
    return true;
}

void CQuelmarDlg::OnCopyPicture() {
    FinishPendingEdits();
    QImage image(m_graph->size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        m_graph->PaintPicture(painter, m_graph->size(), true);
    }
    QApplication::clipboard()->setImage(image);
    SetStatus(Strings::Tr(Strings::kCopied));
}
