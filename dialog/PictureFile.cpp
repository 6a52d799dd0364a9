#include "PictureFile.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "graph/GraphCtrl.h"
#include "res/Strings.h"

namespace {

bool Fail(QString* error, const QString& reason) {
    if (error != nullptr) *error = reason;
    return false;
}

}  // namespace

bool WriteGraphPicture(CGraphCtrl& graph, const QString& path, QSize size, bool marks,
                       QString* error) {
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    const bool svg = suffix == QLatin1String("svg");
    if (!svg && suffix != QLatin1String("png"))
        return Fail(error, Strings::Tr(Strings::kPictureWrongType));
    if (size.width() < kMinPictureSide || size.height() < kMinPictureSide ||
        size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return Fail(
            error,
            Strings::Tr(Strings::kPictureWrongSize).arg(kMinPictureSide).arg(kMaxPictureSide));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return Fail(error, file.errorString());
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(Strings::Tr(Strings::kDialogCaption));
        QPainter painter(&generator);
        graph.PaintPicture(painter, size, marks);
    } else {
        QImage image(size, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            graph.PaintPicture(painter, size, marks);
        }
        if (!image.save(&file, "PNG")) return Fail(error, file.errorString());
    }
    if (!file.commit()) return Fail(error, file.errorString());
    return true;
}
