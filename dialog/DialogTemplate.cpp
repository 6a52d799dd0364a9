#include "DialogTemplate.h"

#include <algorithm>
#include <stdexcept>

namespace {

using Id = ControlId;

constexpr ResizeRule kGrowBoth{0, 0, 100, 100};
constexpr ResizeRule kStayBottomGrowX{0, 100, 100, 0};
constexpr ResizeRule kStayBottomLeft{0, 100, 0, 0};
constexpr ResizeRule kStayBottomRight{100, 100, 0, 0};

const TemplateControl kMainTemplate[] = {
    {Id::Graph, {7, 7, 599, 202}, kGrowBoth},
    {Id::Tabs, {26, 209, 466, 97}, kStayBottomGrowX},
    {Id::MarkPeaks, {7, 222, 18, 14}, kStayBottomLeft},
    {Id::AddChannel, {7, 264, 18, 14}, kStayBottomLeft},
    {Id::Save, {7, 292, 18, 14}, kStayBottomLeft},
    {Id::DeletePeak, {7, 236, 18, 14}, kStayBottomLeft},
    {Id::DeleteChannel, {7, 278, 18, 14}, kStayBottomLeft},
    {Id::ParametersGroup, {492, 208, 114, 98}, kStayBottomRight},
    {Id::AnalysisTime, {566, 236, 40, 14}, kStayBottomRight},
    {Id::AnalysisTimeLabel, {496, 239, 67, 8}, kStayBottomRight},
    {Id::SampleRate, {566, 251, 40, 14}, kStayBottomRight},
    {Id::SampleRateLabel, {496, 254, 67, 8}, kStayBottomRight},
    {Id::Noise, {566, 265, 40, 14}, kStayBottomRight},
    {Id::NoiseLabel, {496, 268, 67, 8}, kStayBottomRight},
    {Id::DeleteAllPeaks, {7, 250, 18, 14}, kStayBottomLeft},
    {Id::Drift, {566, 280, 40, 14}, kStayBottomRight},
    {Id::DriftLabel, {496, 283, 67, 8}, kStayBottomRight},
    {Id::Components, {496, 219, 110, 14}, kStayBottomRight},
    {Id::StatusLine, {7, 310, 599, 11}, kStayBottomGrowX},
};

// round(value * base / divisor) for the non-negative values of a template.
int Scale(int value, int base, int divisor) {
    return (2 * value * base + divisor) / (2 * divisor);
}

int Percent(int delta, int percent) {
    return delta * percent / 100;
}

}  // namespace

std::span<const TemplateControl> MainTemplate() {
    return kMainTemplate;
}

const TemplateControl& TemplateOf(ControlId id) {
    const auto it = std::find_if(std::begin(kMainTemplate), std::end(kMainTemplate),
                                 [id](const TemplateControl& c) { return c.id == id; });
    if (it == std::end(kMainTemplate)) throw std::out_of_range("invalid vector subscript");
    return *it;
}

QRect UnitsToPixels(const QRect& units, BaseUnits base) {
    const int left = Scale(units.x(), base.x, 4);
    const int top = Scale(units.y(), base.y, 8);
    const int right = Scale(units.x() + units.width(), base.x, 4);
    const int bottom = Scale(units.y() + units.height(), base.y, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize UnitsToPixels(QSize units, BaseUnits base) {
    return UnitsToPixels(QRect(QPoint(0, 0), units), base).size();
}

QRect ResizedRect(const QRect& initial, const ResizeRule& rule, QSize delta) {
    return QRect(initial.x() + Percent(delta.width(), rule.move_x),
                 initial.y() + Percent(delta.height(), rule.move_y),
                 initial.width() + Percent(delta.width(), rule.grow_x),
                 initial.height() + Percent(delta.height(), rule.grow_y));
}
