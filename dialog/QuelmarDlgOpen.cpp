// Opening a document in place of the work.
#include <QFile>
#include <QMessageBox>
#include <cstring>

#include "OpenFileChooser.h"
#include "QuelmarDlg.h"
#include "file/ResultCodes.h"
#include "res/Strings.h"

namespace {

QString LoadFailureReason(const FileFailure& failure) {
    using namespace load_result;
    QString reason;
    if (failure.spectra) {
        reason = Strings::Tr(Strings::kLoadSpectraDamaged);
    } else {
        switch (failure.code) {
            case kOpenFailed:
                reason = Strings::Tr(Strings::kLoadOpenFailed);
                break;
            case kShortHeader:
                reason = Strings::Tr(Strings::kLoadShortHeader);
                break;
            case kBadMagic:
                reason = Strings::Tr(Strings::kLoadBadMagic);
                break;
            case kUnknownVersion:
                reason = Strings::Tr(Strings::kLoadUnknownVersion);
                break;
            case kShortBlockHeader:
                reason = Strings::Tr(Strings::kLoadShortBlockHeader);
                break;
            case kBadSamples:
                reason = Strings::Tr(Strings::kLoadBadSamples);
                break;
            case kXmlNotParsed:
                reason = Strings::Tr(Strings::kLoadXmlNotParsed);
                break;
            case kTooLarge:
                reason = Strings::Tr(Strings::kLoadTooLarge);
                break;
            default:
                reason = Strings::Tr(Strings::kLoadUnknown).arg(failure.code);
                break;
        }
    }
    if (failure.system_error != 0)
        reason += QStringLiteral("\n") +
                  Strings::Tr(Strings::kSystemReason)
                      .arg(QString::fromLocal8Bit(std::strerror(failure.system_error)));
    if (!failure.detail.empty()) {
        QString detail = QString::fromStdString(failure.detail);
        if (failure.offset >= 0) detail += QStringLiteral(", байт %1").arg(failure.offset);
        reason += QStringLiteral("\n") + Strings::Tr(Strings::kLoadDetail).arg(detail);
    }
    return reason;
}

}  // namespace

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
    int result = 0;
    FileFailure failure;
    std::unique_ptr<CGeneratorModel> model =
        CGeneratorModel::Load(QFile::encodeName(path).toStdString(), result, failure);
    if (!model) {
        ShowOpenFailure(path, LoadFailureReason(failure));
        return false;
    }
    TakeModel(std::move(model), path);
    SetStatus(Strings::Tr(Strings::kOpened).arg(path) + QStringLiteral(". ") +
              Strings::Tr(Strings::kOpenedWithoutSettings));
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
