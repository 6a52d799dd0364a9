#include "Icons.h"

#include <QFile>

namespace {

const char* ResourcePath(IconId id) {
    switch (id) {
        case IconId::App:
            return ":/icons/app.svg";
        case IconId::MarkPeaks:
            return ":/icons/mark-peaks.svg";
        case IconId::DeletePeak:
            return ":/icons/delete-peak.svg";
        case IconId::DeleteAllPeaks:
            return ":/icons/delete-all-peaks.svg";
        case IconId::AddChannel:
            return ":/icons/add-channel.svg";
        case IconId::DeleteChannel:
            return ":/icons/delete-channel.svg";
        case IconId::Save:
            return ":/icons/save.svg";
    }
    return "";
}

}  // namespace

QIcon LoadIcon(IconId id) {
    const QString path = QString::fromLatin1(ResourcePath(id));
    if (!QFile::exists(path)) return {};
    return QIcon(path);
}
