#include "QuelmarApp.h"

#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>

#include "AppSettings.h"
#include "CommandLine.h"
#include "DataBaseConnectionBase.h"
#include "Render.h"
#include "dialog/QuelmarDlg.h"
#include "res/Language.h"
#include "res/Version.h"

CQuelmarApp::CQuelmarApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The per-user profile lives under the organisation and the program's name, which Qt takes
    // from the executable's base name.
    setOrganizationName(QString::fromLatin1(AppSettings::kOrganization));
    setApplicationVersion(QString::fromLatin1(QuelmarVersion::kText));
}

int CQuelmarApp::Render(const QCommandLineParser& parser) {
    RenderRequest request;
    request.input = parser.value(QStringLiteral("render"));
    request.output = parser.value(QStringLiteral("output"));
    if (request.output.isEmpty()) return Usage("--render needs -o OUT.png or -o OUT.svg");
    if (parser.isSet(QStringLiteral("size"))) {
        request.size = ParsePictureSize(parser.value(QStringLiteral("size")));
        if (!request.size.isValid()) return Usage("--size takes WxH, such as 1200x600");
    }
    if (parser.isSet(QStringLiteral("channel"))) {
        bool number = false;
        request.channel = parser.value(QStringLiteral("channel")).toInt(&number);
        if (!number || request.channel < 0)
            return Usage("--channel takes a channel's position from 0");
    }
    return RenderChromatogram(request);
}

int CQuelmarApp::Usage(const char* what) {
    std::fprintf(stderr, "quelmar: %s (see --help)\n", what);
    return 2;
}

int CQuelmarApp::InitInstance() {
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    // An unknown option prints why and ends the process here.
    parser.process(arguments());
    const QString asked = parser.value(QStringLiteral("lang"));
    if (!asked.isEmpty() && asked != QLatin1String(kRussian) && asked != QLatin1String(kEnglish)) {
        std::fprintf(stderr, "quelmar: --lang takes ru or en, not %s (see --help)\n",
                     qPrintable(asked));
        return 2;
    }
    // The window speaks the user's language; stored documents do not change with it.
    InstallTranslations(*this, ChooseLanguage(asked, QLocale::system()));

    if (parser.isSet(QStringLiteral("render"))) return Render(parser);

    const QString folder = AppSettings::DatabaseFolder();
    DataBaseConnectionBase::Instance().SetPath(AppSettings::DatabasePath(folder));

    CQuelmarDlg dialog;
    if (!parser.positionalArguments().isEmpty())
        dialog.OpenFile(parser.positionalArguments().constFirst());
    dialog.exec();
    return 0;
}
