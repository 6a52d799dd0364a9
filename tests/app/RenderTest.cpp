#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "dialog/GraphSetup.h"
#include "graph/GraphCtrl.h"
#include "model/GeneratorModel.h"

namespace {

int RunProgram(const QString& program, const QStringList& arguments, QString* errors = nullptr) {
    // Qt warns on stderr without a private runtime folder; the refusal must be the only line.
    static QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (errors != nullptr) *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool IsCurve(QColor c) {
    return c == QColor(19, 43, 169);
}

TEST(Render, APictureOfAGeneratedDocumentHasItsCurveWhereTheAxesPutTheSamples) {
    QTemporaryDir folder;
    const QString scenario = folder.filePath("run.json");
    QFile text(scenario);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(R"({"analysis_time": 10, "sample_rate": 50, "channels": [
        {"noise": 0.5, "drift": 1, "peaks": [{"time": 3, "height": 40, "width": 0.2},
                                             {"time": 7, "height": 25, "width": 0.4}]},
        {"peaks": [{"time": 5, "height": 10}]}]})");
    text.close();
    const QString document = folder.filePath("run.xstg");
    ASSERT_EQ(RunProgram(QStringLiteral(QUELMAR_XSTGTOOL), {"generate", scenario, "-o", document}),
              0);
    const QString picture = folder.filePath("run.png");
    QString errors;
    ASSERT_EQ(RunProgram(QStringLiteral(QUELMAR_PROGRAM),
                         {"--render", document, "-o", picture, "--size", "900x450"}, &errors),
              0)
        << errors.toStdString();
    const QImage image(picture);
    ASSERT_EQ(image.size(), QSize(900, 450));

    // The same engine laid out at the same size tells where each sample belongs.
    int result = 0;
    FileFailure failure;
    auto model = CGeneratorModel::Load(QFile::encodeName(document).toStdString(), result, failure);
    ASSERT_NE(model, nullptr);
    CGraphCtrl graph;
    graph.resize(900, 450);
    ConfigureChromatogramGraph(graph);
    ShowChannelCurves(graph, *model, 0);
    graph.SetVisibleRangeX(0, model->ChannelSignal(0).GetEndTime());
    graph.SetVisibleRangeY(0, 0);
    graph.RenderImage();
    const Signal4& signal = model->ChannelSignal(0);
    int checked = 0;
    for (std::size_t i = 0; i < signal.Size(); i += 5) {
        const int x = graph.MapX(signal.GetTime(static_cast<std::int64_t>(i)));
        const int y = graph.MapY(signal.samples[i]);
        bool near = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                near = near || IsCurve(image.pixelColor(x + dx, y + dy));
        EXPECT_TRUE(near) << "sample " << i << " at (" << x << ", " << y << ")";
        ++checked;
    }
    EXPECT_EQ(checked, 100);
}

TEST(Render, RefusalsAreOneLineWithTheStatusOfTheirKind) {
    QTemporaryDir folder;
    struct Case {
        QStringList arguments;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{"--render", folder.filePath("missing.xstg"), "-o", folder.filePath("a.png")},
         1,
         "missing.xstg"},
        {{"--render", folder.filePath("missing.xstg")}, 2, "-o"},
        {{"--render", "x", "-o", "a.png", "--size", "big"}, 2, "--size"},
        {{"--render", "x", "-o", "a.png", "--channel", "-1"}, 2, "--channel"},
        {{"--lang", "de"}, 2, "--lang"},
    };
    for (const Case& c : cases) {
        QString errors;
        EXPECT_EQ(RunProgram(QStringLiteral(QUELMAR_PROGRAM), c.arguments, &errors), c.status)
            << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(QString::fromLatin1(c.says))) << errors.toStdString();
        EXPECT_EQ(errors.trimmed().count('\n'), 0) << errors.toStdString();
    }
}

}  // namespace
