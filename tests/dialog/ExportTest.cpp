#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "DialogFixture.h"
#include "cli/AiaExport.h"
#include "cli/CsvExport.h"
#include "dialog/SaveFileChooser.h"
#include "graph/GraphCtrl.h"

namespace {

class FixedPath final : public ISaveFileChooser {
public:
    explicit FixedPath(QString path) : m_path(std::move(path)) {}
    QString ChoosePath(QWidget*) override { return m_path; }
    QString ChooseExportPath(QWidget*, const QString&, const QString&) override { return m_path; }

private:
    QString m_path;
};

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Export : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        d = &Open();
        ASSERT_TRUE(d->OnAddChannel());
        AddPeaks(*d, 0, {MakeNewPeak(3, 40), MakeNewPeak(6, 60)});
        AddPeaks(*d, 1, {MakeNewPeak(5, 20)});
    }
    QString Path(const char* name) { return m_folder.filePath(name); }
    // The document as the window saved it, read back from its file.
    void SaveAndLoad(CTarvikFile4& loaded) {
        d->SetSaveFileChooser(std::make_unique<FixedPath>(Path("run.xstg")));
        ASSERT_TRUE(d->OnSave());
        ASSERT_EQ(loaded.LoadFromFile(QFile::encodeName(Path("run.xstg")).toStdString()), 0);
    }

    QTemporaryDir m_folder;
    CQuelmarDlg* d = nullptr;
};

TEST_F(Export, CsvAndAiaFromTheWindowAreTheBytesTheToolWritesForTheSavedDocument) {
    CTarvikFile4 saved;
    SaveAndLoad(saved);
    ASSERT_TRUE(d->ExportCsvTo(Path("window.csv")));
    PendingFiles tool;
    ExportCsv(saved, PlanCsvExport(saved, QFile::encodeName(Path("tool.csv")).toStdString()), tool);
    tool.CommitAll();
    EXPECT_EQ(Bytes(Path("window.csv")), Bytes(Path("tool.csv")));
    EXPECT_FALSE(Bytes(Path("window.csv")).isEmpty());

    ASSERT_TRUE(d->ExportAiaTo(Path("window.cdf")));
    PendingFiles tool_aia;
    ExportAia(saved, PlanAiaExport(saved, QFile::encodeName(Path("tool.cdf")).toStdString()),
              "run.xstg", tool_aia);
    tool_aia.CommitAll();
    for (const char* channel : {"-channel-0.cdf", "-channel-1.cdf"})
        EXPECT_EQ(Bytes(Path("window") + QString::fromLatin1(channel)),
                  Bytes(Path("tool") + QString::fromLatin1(channel)))
            << channel;
}

TEST_F(Export, AnExportNeverWritesOverTheWorksOwnFile) {
    CTarvikFile4 saved;
    SaveAndLoad(saved);
    const QByteArray document = Bytes(Path("run.xstg"));
    ASSERT_TRUE(QFile::link(Path("run.xstg"), Path("link.csv")));
    for (const QString& path : {Path("run.xstg"), Path("link.csv"), Path("./run.xstg")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(d->ExportCsvTo(path));
        EXPECT_TRUE(d->StatusText().contains(QStringLiteral("поверх документа")));
        EXPECT_EQ(Bytes(Path("run.xstg")), document);
    }
}

TEST_F(Export, APictureIsWhatTheGraphShowsAtTheSizeAskedWithTheMarksOptional) {
    ASSERT_TRUE(d->ExportPictureTo(Path("marks.png"), QSize(800, 400), true));
    ASSERT_TRUE(d->ExportPictureTo(Path("plain.png"), QSize(800, 400), false));
    const QImage marks(Path("marks.png"));
    const QImage plain(Path("plain.png"));
    EXPECT_EQ(marks.size(), QSize(800, 400));
    auto has_colour = [](const QImage& image, QColor colour) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour) return true;
        return false;
    };
    const QColor mark(38, 213, 153);
    EXPECT_TRUE(has_colour(marks, mark));
    EXPECT_FALSE(has_colour(plain, mark));
    EXPECT_TRUE(has_colour(plain, QColor(19, 43, 169)));  // the curve

    ASSERT_TRUE(d->ExportPictureTo(Path("graph.SVG"), QSize(640, 480), true));
    const QByteArray svg = Bytes(Path("graph.SVG"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\""));

    for (const auto& [name, size] :
         {std::pair{"wrong.jpg", QSize(100, 100)}, std::pair{"tiny.png", QSize(8, 100)},
          std::pair{"huge.png", QSize(100, 20000)}}) {
        EXPECT_FALSE(d->ExportPictureTo(Path(name), size, true)) << name;
        EXPECT_FALSE(QFile::exists(Path(name))) << name;
    }
    // The graph is laid out for the window again: a press on an apex starts its drag.
    CGraphCtrl* graph = d->Graph();
    graph->OnLeftButtonDown({graph->MapX(5), graph->MapY(20)});  // the current channel's peak
    EXPECT_EQ(graph->DragMode(), PeakDrag::Apex);
    graph->CancelDrag();
}

TEST_F(Export, CopyingPutsTheGraphOnTheClipboard) {
    d->OnCopyPicture();
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), d->Graph()->size());
}

}  // namespace
