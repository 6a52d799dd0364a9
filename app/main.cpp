#include <QCoreApplication>

#include "CommandLine.h"
#include "QuelmarApp.h"
#include "res/Version.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (AsksForTextOnly(arguments)) {
        // Help and version need no display: man pages are made from them on build machines.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationVersion(QString::fromLatin1(QuelmarVersion::kText));
        QCommandLineParser parser;
        DescribeCommandLine(parser);
        parser.process(core);  // prints and ends the process
        return 0;
    }
    // A picture drawn without a window needs no display: Qt's offscreen platform draws it.
    if (AsksForRender(arguments)) qputenv("QT_QPA_PLATFORM", "offscreen");
    CQuelmarApp app(argc, argv);
    return app.InitInstance();
}
