// The save command: the stored peak tables, the passport's stamp and the document file, written
// on a worker thread while the window stays painted.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <chrono>
#include <cstring>
#include <ctime>
#include <future>

#include "QuelmarDlg.h"
#include "SaveFileChooser.h"
#include "file/ResultCodes.h"
#include "res/Strings.h"

namespace {

QString SaveFailureReason(int code) {
    using namespace save_result;
    switch (code) {
        case kOpenFailed:
            return Strings::Tr(Strings::kSaveOpenFailed);
        case kHeaderNotWritten:
            return Strings::Tr(Strings::kSaveHeaderNotWritten);
        case kBadSpectrumLength:
            return Strings::Tr(Strings::kSaveBadSpectrumLength);
        case kBlockHeaderNotWritten:
            return Strings::Tr(Strings::kSaveBlockNotWritten);
        case kDataNotWritten:
            return Strings::Tr(Strings::kSaveDataNotWritten);
        case kXmlNotWritten:
            return Strings::Tr(Strings::kSaveXmlNotWritten);
        case kNotRegularFile:
            return Strings::Tr(Strings::kSaveNotRegularFile);
        case kSpectraPathIsDocument:
            return Strings::Tr(Strings::kSaveSpectraPathIsDocument);
        case kTooLarge:
            return Strings::Tr(Strings::kSaveTooLarge);
        case kNonFiniteValue:
            return Strings::Tr(Strings::kSaveNonFiniteValue);
        default:
            return Strings::Tr(Strings::kSaveUnknown).arg(code);
    }
}

QString LeftOutText(const std::vector<ChannelLeftOut>& left_out) {
    std::size_t count = 0;
    QStringList channels;
    for (const ChannelLeftOut& channel : left_out) {
        count += channel.peaks.size();
        channels << QString::number(channel.channel + 1);
    }
    return Strings::Tr(Strings::kPeaksLeftOut)
        .arg(static_cast<qulonglong>(count))
        .arg(channels.join(QStringLiteral(", ")));
}

}  // namespace

void CQuelmarDlg::SetSaveFileChooser(std::unique_ptr<ISaveFileChooser> chooser) {
    m_saveChooser = std::move(chooser);
}

int CQuelmarDlg::SaveInBackground(const std::string& path, std::int64_t date) {
    // The model is not touched meanwhile: user input waits, painting goes on.
    std::future<int> saving = std::async(
        std::launch::async, [this, path, date] { return m_model->SaveToFile(path, date); });
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    for (;;) {
        if (!progress && clock.elapsed() >= m_progressDelayMs) {
            progress = std::make_unique<QProgressDialog>(Strings::Tr(Strings::kSaving), QString(),
                                                         0, 0, this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->show();
        }
        if (saving.wait_for(std::chrono::milliseconds(10)) == std::future_status::ready) break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return saving.get();
}

bool CQuelmarDlg::OnSave() {
    FinishPendingEdits();
    if (!m_saveChooser) m_saveChooser = std::make_unique<CSaveFileDialogChooser>();
    const QString path = m_saveChooser->ChoosePath(this);
    if (!path.isEmpty()) return SaveTo(path);
    // The stored tables follow the working peaks also when the user cancels.
    m_model->CollectForSave();
    return false;
}

bool CQuelmarDlg::SaveTo(const QString& path) {
    const std::vector<ChannelLeftOut> left_out = m_model->CollectForSave();
    const int result = SaveInBackground(QFile::encodeName(path).toStdString(),
                                        static_cast<std::int64_t>(std::time(nullptr)));
    if (result == save_result::kOk) {
        m_documentPath = path;
        UpdateCaption();
        QString status = Strings::Tr(Strings::kSaved).arg(path);
        if (!left_out.empty()) status += QStringLiteral(" ") + LeftOutText(left_out);
        SetStatus(status);
        return true;
    }
    const FileFailure& failure = m_model->Document().LastFailure();
    // The file that failed may be the spectra file beside the document.
    const QString file =
        failure.path.empty() ? path : QFile::decodeName(QByteArray::fromStdString(failure.path));
    QString reason = SaveFailureReason(result);
    if (failure.system_error != 0)
        reason += QStringLiteral("\n") +
                  Strings::Tr(Strings::kSystemReason)
                      .arg(QString::fromLocal8Bit(std::strerror(failure.system_error)));
    // Told after the save, so that the message never holds it up, and without blocking.
    const QString message = Strings::Tr(Strings::kSaveFailed).arg(file, reason);
    auto* box = new QMessageBox(QMessageBox::Warning, Strings::Tr(Strings::kSaveFailedTitle),
                                message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    SetStatus(message.simplified());
    return false;
}
