#pragma once

#include <QApplication>

// The application object: sets up the settings locations, records the database path and runs
// the generator dialog modally. The program has no event loop of its own; it ends when the dialog
// closes.
class CQuelmarApp : public QApplication {
    Q_OBJECT

public:
    CQuelmarApp(int& argc, char** argv);

    // Runs the program once; returns when the dialog has closed. The result is the process's
    // exit status.
    int InitInstance();

private:
    // quelmar --render: a picture without a window. Returns the exit status.
    int Render(const class QCommandLineParser& parser);
    static int Usage(const char* what);
};
