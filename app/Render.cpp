#include "Render.h"

#include <QRegularExpression>
#include <cstdio>

#include "dialog/ChromatogramFile.h"
#include "dialog/GraphSetup.h"
#include "dialog/PictureFile.h"
#include "graph/GraphCtrl.h"

namespace {

int Fail(const QString& file, const QString& why) {
    std::fprintf(stderr, "quelmar: %s: %s\n", qPrintable(file), qPrintable(why.simplified()));
    return 1;
}

}  // namespace

QSize ParsePictureSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return {};
    return QSize(match.captured(1).toInt(), match.captured(2).toInt());
}

int RenderChromatogram(const RenderRequest& request) {
    OpenedChromatogram opened = OpenChromatogram(request.input);
    if (!opened.model) return Fail(request.input, opened.error);
    const CGeneratorModel& model = *opened.model;
    if (!model.HasChannel(request.channel))
        return Fail(request.input, QStringLiteral("there is no channel %1 (it has %2, from 0)")
                                       .arg(request.channel)
                                       .arg(model.ChannelCount()));
    CGraphCtrl graph;
    graph.resize(request.size);
    ConfigureChromatogramGraph(graph);
    ShowChannelCurves(graph, model, request.channel);
    ShowChannelPeaks(graph, model, request.channel, -1);
    const Signal4& signal = model.ChannelSignal(request.channel);
    graph.SetVisibleRangeX(signal.Grid().start, signal.GetEndTime());
    // Automatic: the response axis follows the curve, whatever its heights.
    graph.SetVisibleRangeY(0.0, 0.0);
    QString error;
    if (!WriteGraphPicture(graph, request.output, request.size, true, &error))
        return Fail(request.output, error);
    return 0;
}
