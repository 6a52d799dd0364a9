#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString ChooseLanguage(const QString& asked, const QLocale& system) {
    if (asked == QLatin1String(kRussian) || asked == QLatin1String(kEnglish)) return asked;
    return system.language() == QLocale::Russian ? QString::fromLatin1(kRussian)
                                                 : QString::fromLatin1(kEnglish);
}

bool InstallTranslations(QCoreApplication& application, const QString& language) {
    auto* program = new QTranslator(&application);
    const bool loaded = program->load(QStringLiteral(":/i18n/quelmar_") + language);
    if (loaded) QCoreApplication::installTranslator(program);
    // Qt's own texts (the file dialog, message box buttons, an edit's context menu) are English
    // already; the Russian ones come with Qt's translations.
    if (language == QLatin1String(kRussian)) {
        auto* qt = new QTranslator(&application);
        if (qt->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
    }
    return loaded;
}
