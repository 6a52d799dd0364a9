#pragma once

#include <QCommandLineParser>
#include <QStringList>

// The desktop program's command line: quelmar [--lang ru|en] [FILE], --help, --version.
void DescribeCommandLine(QCommandLineParser& parser);

// Whether the arguments ask only for the help or the version text, which are printed without a
// display (and so without the window system) before any window exists.
bool AsksForTextOnly(const QStringList& arguments);
