// Prints the MIME type the shared MIME database under XDG_DATA_DIRS gives each file, by its name
// and its first bytes, one a line: what a Qt file manager or file dialog decides.
#include <QMimeDatabase>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    const QMimeDatabase database;
    for (int i = 1; i < argc; ++i) {
        const QString type = database.mimeTypeForFile(QString::fromLocal8Bit(argv[i])).name();
        std::printf("%s\n", type.toUtf8().constData());
    }
    return 0;
}
