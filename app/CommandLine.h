#pragma once

#include <QCommandLineParser>
#include <QStringList>

// The desktop program's command line: quelmar [--lang ru|en] [FILE], --help, --version, and
// quelmar --render FILE -o OUT [--size WxH] [--channel N].
void DescribeCommandLine(QCommandLineParser& parser);

// Whether the arguments ask only for the help or the version text, which are printed without a
// display (and so without the window system) before any window exists.
bool AsksForTextOnly(const QStringList& arguments);

// Whether the arguments ask for a picture drawn without a window, which needs no display.
bool AsksForRender(const QStringList& arguments);
