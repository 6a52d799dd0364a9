// The save command: the stored peak tables, the passport's stamp and the document file.
#include <QFile>
#include <QMessageBox>
#include <cstring>
#include <ctime>

#include "QuelmarDlg.h"
#include "SaveFileChooser.h"
#include "file/NewGuidString.h"
#include "file/ResultCodes.h"
#include "res/Strings.h"
#include "synth/StoredPeaks.h"
#include "table/TablePg.h"

namespace {

QString SaveFailureReason(int code) {
    using namespace save_result;
    switch (code) {
        case kOpenFailed:
            return QString::fromUtf8(Strings::kSaveOpenFailed);
        case kHeaderNotWritten:
            return QString::fromUtf8(Strings::kSaveHeaderNotWritten);
        case kBadSpectrumLength:
            return QString::fromUtf8(Strings::kSaveBadSpectrumLength);
        case kBlockHeaderNotWritten:
            return QString::fromUtf8(Strings::kSaveBlockNotWritten);
        case kDataNotWritten:
            return QString::fromUtf8(Strings::kSaveDataNotWritten);
        case kXmlNotWritten:
            return QString::fromUtf8(Strings::kSaveXmlNotWritten);
        case kNotRegularFile:
            return QString::fromUtf8(Strings::kSaveNotRegularFile);
        case kSpectraPathIsDocument:
            return QString::fromUtf8(Strings::kSaveSpectraPathIsDocument);
        case kTooLarge:
            return QString::fromUtf8(Strings::kSaveTooLarge);
        case kNonFiniteValue:
            return QString::fromUtf8(Strings::kSaveNonFiniteValue);
        default:
            return QString::fromUtf8(Strings::kSaveUnknown).arg(code);
    }
}

}  // namespace

void CQuelmarDlg::SetSaveFileChooser(std::unique_ptr<ISaveFileChooser> chooser) {
    m_saveChooser = std::move(chooser);
}

int CQuelmarDlg::CollectPeaksForSave(int index) {
    Signal4* signal = ChannelSignal(index);
    if (signal == nullptr || index >= ChannelCount()) return 0;
    const std::vector<GenPeak4>& peaks = Page(index)->m_peaks;
    Channel4& channel = m_file.m_channels.at(static_cast<std::size_t>(index));
    channel.table = CollectStoredPeaks(*signal, peaks);
    return static_cast<int>(peaks.size() - channel.table.size());
}

void CQuelmarDlg::OnSave() {
    FinishPendingEdits();
    if (!m_saveChooser) m_saveChooser = std::make_unique<CSaveFileDialogChooser>();
    const QString path = m_saveChooser->ChoosePath(this);

    // The stored tables follow the pages also when the user cancels.
    int left_out = 0;
    QStringList channels_left_out;
    for (int i = 0; i < ChannelCount(); ++i) {
        const int n = CollectPeaksForSave(i);
        left_out += n;
        if (n > 0) channels_left_out << QString::number(i + 1);
    }
    if (path.isEmpty()) return;

    m_file.m_passport.assayid = NewGuidString();
    m_file.m_passport.andate = static_cast<std::int64_t>(std::time(nullptr));
    const int result = m_file.SaveToFile(QFile::encodeName(path).toStdString());

    // Told after the save, so that the message never holds it up, and without blocking.
    if (result != save_result::kOk) {
        const FileFailure& failure = m_file.LastFailure();
        // The file that failed may be the spectra file beside the document.
        const QString file = failure.path.empty()
                                 ? path
                                 : QFile::decodeName(QByteArray::fromStdString(failure.path));
        QString reason = SaveFailureReason(result);
        if (failure.system_error != 0)
            reason += QStringLiteral("\n") +
                      QString::fromUtf8(Strings::kSystemReason)
                          .arg(QString::fromLocal8Bit(std::strerror(failure.system_error)));
        ShowMessage(QMessageBox::Warning,
                    QString::fromUtf8(Strings::kSaveFailed).arg(file, reason));
    } else if (left_out > 0) {
        ShowMessage(QMessageBox::Information, QString::fromUtf8(Strings::kPeaksLeftOut)
                                                  .arg(left_out)
                                                  .arg(channels_left_out.join(", ")));
    }
}

void CQuelmarDlg::ShowMessage(QMessageBox::Icon icon, const QString& text) {
    auto* box = new QMessageBox(icon, QString::fromUtf8(Strings::kSaveFailedTitle), text,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
