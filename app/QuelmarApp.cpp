#include "QuelmarApp.h"

#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "AppSettings.h"
#include "CommandLine.h"
#include "DataBaseConnectionBase.h"
#include "dialog/QuelmarDlg.h"
#include "res/Version.h"

CQuelmarApp::CQuelmarApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The per-user profile lives under the organisation and the program's name, which Qt takes
    // from the executable's base name.
    setOrganizationName(QString::fromLatin1(AppSettings::kOrganization));
    setApplicationVersion(QString::fromLatin1(QuelmarVersion::kText));
    // The program speaks Russian whatever the system's language, and so do Qt's own dialogs and
    // menus (the save dialog, message box buttons, an edit's context menu).
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

int CQuelmarApp::InitInstance() {
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    // An unknown option prints why and ends the process here.
    parser.process(arguments());

    const QString folder = AppSettings::DatabaseFolder();
    DataBaseConnectionBase::Instance().SetPath(AppSettings::DatabasePath(folder));

    CQuelmarDlg dialog;
    if (!parser.positionalArguments().isEmpty())
        dialog.OpenFile(parser.positionalArguments().constFirst());
    dialog.exec();
    return 0;
}
