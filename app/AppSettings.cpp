#include "AppSettings.h"

#include <QDir>
#include <QSettings>

namespace AppSettings {

namespace {

bool IsSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}

}  // namespace

QString DatabaseFolder() {
    QSettings machine(QSettings::NativeFormat, QSettings::SystemScope, kOrganization,
                      kMachineApplication);
    // Only this application's own key counts, not an organisation-wide file.
    machine.setFallbacksEnabled(false);
    const QVariant value = machine.value(kDatabaseFolderKey);
    if (value.typeId() != QMetaType::QString) return {};
    return value.toString();
}

QString DatabasePath(const QString& folder) {
    const QString file = QString::fromLatin1(kDatabaseFileName);
    if (folder.isEmpty()) return file;
    qsizetype end = folder.size();
    while (end > 0 && IsSeparator(folder[end - 1])) --end;
    // A folder made only of separators is the root: keep one of them.
    if (end == 0) return folder.left(1) + file;
    return folder.left(end) + QDir::separator() + file;
}

}  // namespace AppSettings
