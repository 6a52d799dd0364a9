#include "ChromatogramFile.h"

#include <QFile>
#include <cstring>

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

OpenedChromatogram OpenChromatogram(const QString& path) {
    OpenedChromatogram opened;
    int result = 0;
    FileFailure failure;
    opened.model = CGeneratorModel::Load(QFile::encodeName(path).toStdString(), result, failure);
    if (!opened.model) {
        opened.error = LoadFailureReason(failure);
        return opened;
    }
    opened.note = Strings::Tr(Strings::kOpenedWithoutSettings);
    return opened;
}
