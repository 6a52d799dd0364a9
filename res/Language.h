#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

// The languages the desktop program speaks, by their two-letter codes.
inline constexpr const char* kRussian = "ru";
inline constexpr const char* kEnglish = "en";

// Russian for a user whose interface language is Russian, English for everyone else; `asked`
// ("ru" or "en", from --lang) wins when given.
QString ChooseLanguage(const QString& asked, const QLocale& system);

// Installs the translations of the program's texts and of Qt's own dialogs for `language`.
// Returns false when the program's translation is missing (a broken build).
bool InstallTranslations(QCoreApplication& application, const QString& language);
