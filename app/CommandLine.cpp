#include "CommandLine.h"

void DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Generator of synthetic chromatograms: places Gaussian and tailing peaks on "
                       "detector channels, adds noise and drift, shows each peak's measured "
                       "bounds and area, and saves .xstg documents."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("lang"),
        QStringLiteral("The language of the window: ru or en (default: Russian for a user whose "
                       "interface language is Russian, English otherwise)."),
        QStringLiteral("ru|en")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("render"),
        QStringLiteral("Draw FILE (a document or a scenario) as a picture and exit, without a "
                       "window or a display."),
        QStringLiteral("FILE")));
    parser.addOption(
        QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                           QStringLiteral("The picture --render writes: a .png or .svg file."),
                           QStringLiteral("OUT")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("size"), QStringLiteral("The picture's size in pixels (default 1200x600)."),
        QStringLiteral("WxH")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("channel"),
        QStringLiteral("The channel to draw, by its position from 0 (default 0)."),
        QStringLiteral("N")));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A .xstg document or a .json scenario to open."),
                                 QStringLiteral("[FILE]"));
}

bool AsksForRender(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (argument == QLatin1String("--render") ||
            argument.startsWith(QLatin1String("--render=")))
            return true;
    return false;
}

bool AsksForTextOnly(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help") ||
            argument == QLatin1String("--help-all") || argument == QLatin1String("-v") ||
            argument == QLatin1String("--version"))
            return true;
    return false;
}
