#include "GraphSetup.h"

#include "graph/GraphCtrl.h"
#include "res/Strings.h"

namespace {

constexpr Rgb kCurveColour{19, 43, 169};

}  // namespace

void ConfigureChromatogramGraph(CGraphCtrl& graph) {
    graph.m_x_caption = Strings::Tr(Strings::kTimeAxisCaption).toStdString();
    graph.m_y_caption = Strings::Tr(Strings::kResponseAxisCaption).toStdString();
    graph.m_zoom_enabled = true;
    graph.m_zoom_button = CAutoView::ZoomButton::Right;
    graph.m_frame_flags = CAutoPanel::kGridX | CAutoPanel::kGridY | CAutoPanel::kTicksAround;
}

void ShowChannelCurves(CGraphCtrl& graph, const CGeneratorModel& model, int current) {
    graph.ClearSeries();
    for (int c = 0; c < model.ChannelCount(); ++c) {
        const Signal4& signal = model.ChannelSignal(c);
        CAutoSeries& curve = graph.AddSeries();
        curve.m_line_colour = kCurveColour;
        SampleGrid grid;
        std::int32_t last_index;
        {
            const std::lock_guard lock(signal.guard);
            grid = {signal.start, signal.step};
            last_index = signal.last_index;
        }
        const std::size_t count = signal.Size();
        const std::int64_t end_index =
            last_index >= 0 ? last_index : static_cast<std::int64_t>(count) - 1;
        curve.m_y_values = signal.samples.data();
        curve.m_x_values = nullptr;
        curve.m_point_count = static_cast<std::int32_t>(count);
        curve.m_x_start = grid.start;
        curve.m_x_end = grid.start + static_cast<double>(end_index) * grid.step;
        curve.m_x_step =
            count >= 2 ? (curve.m_x_end - curve.m_x_start) / static_cast<double>(count - 1) : 0.0;
        curve.m_hidden = c != current;
    }
    graph.update();
}

void ShowChannelPeaks(CGraphCtrl& graph, const CGeneratorModel& model, int channel, int selected) {
    if (!model.HasChannel(channel)) {
        graph.ShowPeaks(nullptr, -1);
        return;
    }
    graph.ShowPeaks(&model.Peaks(channel), selected,
                    [&model, channel](double t) { return model.BaselineAt(channel, t); });
}
