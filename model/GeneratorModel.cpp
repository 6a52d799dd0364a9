#include "GeneratorModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "FiniteValues.h"
#include "file/NewGuidString.h"
#include "file/XmlChars.h"
#include "synth/FillSignal.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"
#include "synth/Regeneration.h"
#include "synth/SampleCount.h"
#include "synth/WidthFit.h"

namespace {

Refusal Refuse(RefusalCode code, int channel = -1) {
    return {code, 0.0, channel};
}

ModelChange Refused(Refusal refusal) {
    ModelChange change;
    change.refusal = refusal;
    return change;
}

ModelChange Refused(RefusalCode code, int channel = -1) {
    return Refused(Refuse(code, channel));
}

ModelChange OneChannel(int channel) {
    ModelChange change;
    change.channels = {channel};
    return change;
}

bool IsParameter(StepKind kind) {
    return kind == StepKind::AnalysisTime || kind == StepKind::SampleRate ||
           kind == StepKind::Noise || kind == StepKind::Drift;
}

// What a regeneration would have measured on these samples, without making them again: bounds of
// automatic peaks on the clean sum of the peaks, areas on the samples as they are.
void MeasureStoredSamples(const Signal4& samples, std::vector<GenPeak4>& peaks) {
    const SampleGrid grid = samples.Grid();
    Signal4 clean(grid.step, grid.start, nullptr, 0);
    clean.last_index = samples.last_index;
    FillSignal(clean, samples.Size(), peaks);
    for (GenPeak4& peak : peaks)
        if (peak.auto_bounds) FindPeakBounds(clean, peak);
    for (GenPeak4& peak : peaks) ComputePeakArea(samples, peak);
}

}  // namespace

CGeneratorModel::CGeneratorModel() {
    m_history.SetDropped([this](HistoryStep&& step) { Recycle(step.channels); });
    StartHistory();
}

CGeneratorModel::CGeneratorModel(double minutes, double per_minute) : CGeneratorModel() {
    if (!CheckTimeAndRate(minutes, per_minute, 1)) {
        m_analysisTime = minutes;
        m_sampleRate = per_minute;
    }
}

void CGeneratorModel::StartHistory() {
    m_history.Clear();
    m_savedState = m_history.Current();
    m_mergeOpen = false;
}

const WorkingChannel& CGeneratorModel::Working(int channel) const {
    return m_working.at(static_cast<std::size_t>(channel));
}

const Signal4& CGeneratorModel::ChannelSignal(int channel) const {
    return m_document.m_channels.at(static_cast<std::size_t>(channel)).signal;
}

double CGeneratorModel::BaselineAt(int channel, double t) const {
    return Working(channel).drift * t;
}

Channel4 CGeneratorModel::FreshRecord(int number, bool flat) {
    Channel4 record(number);
    record.signal = Signal4(1.0 / m_sampleRate, m_startTime, nullptr, 0);
    record.signal.last_index = -1;
    const std::size_t n = ComputeSampleCount(m_analysisTime, m_sampleRate).count;
    if (flat)
        record.signal.Resize(n);
    else
        record.signal.samples = m_buffers.Take(n);
    return record;
}

Channel4 CGeneratorModel::RecordLike(int channel) {
    const Signal4& current = ChannelSignal(channel);
    Channel4 record(channel);
    const SampleGrid grid = current.Grid();
    record.signal = Signal4(grid.step, grid.start, nullptr, 0);
    record.signal.last_index = current.last_index;
    record.signal.samples = m_buffers.Take(current.Size());
    return record;
}

std::size_t CGeneratorModel::RecycleLimit() const {
    // As much as the channels hold now, and a little for short runs: what a run cut short held
    // goes back to the system.
    constexpr std::size_t kSmallRunBytes = std::size_t{64} << 20;
    std::size_t bytes = 0;
    for (const Channel4& record : m_document.m_channels)
        bytes += record.signal.samples.capacity() * sizeof(float);
    return std::max(bytes, kSmallRunBytes);
}

void CGeneratorModel::Recycle(std::vector<ChannelSnapshot>& channels) {
    for (ChannelSnapshot& channel : channels)
        if (channel.record)
            m_buffers.Give(std::move(channel.record->signal.samples), RecycleLimit());
}

bool CGeneratorModel::Regenerate(ChannelSnapshot& snapshot) {
    WorkingChannel& working = snapshot.working;
    Signal4& signal = snapshot.record->signal;
    RegenerateSignal(signal, working.peaks, working.noise, working.drift);
    return !FindNonFinite(signal, working.peaks);
}

ModelChange CGeneratorModel::Commit(StepKind kind, int merge_channel, std::size_t first,
                                    std::size_t count, std::vector<ChannelSnapshot> replacement) {
    HistoryStep step;
    step.kind = kind;
    step.channel = merge_channel;
    step.first = first;
    step.count = count;
    step.channels = std::move(replacement);
    step.analysis_time = m_analysisTime;
    step.sample_rate = m_sampleRate;
    return Exchange(std::move(step));
}

ModelChange CGeneratorModel::ReplaceChannel(StepKind kind, int channel, WorkingChannel working,
                                            bool merge) {
    std::vector<ChannelSnapshot> list;
    list.push_back({std::move(working), RecordLike(channel)});
    if (!Regenerate(list.front())) {
        Recycle(list);
        return Refused(RefusalCode::SignalNotFinite, channel);
    }
    return Commit(kind, merge ? channel : -1, static_cast<std::size_t>(channel), 1,
                  std::move(list));
}

ModelChange CGeneratorModel::ReplaceWorking(int channel, WorkingChannel working) {
    if (FindNonFinite(ChannelSignal(channel), working.peaks))
        return Refused(RefusalCode::SignalNotFinite, channel);
    std::vector<ChannelSnapshot> list;
    list.push_back({std::move(working), std::nullopt});
    return Commit(StepKind::EditPeak, -1, static_cast<std::size_t>(channel), 1, std::move(list));
}

void CGeneratorModel::Renumber() {
    for (std::size_t i = 0; i < m_document.m_channels.size(); ++i)
        m_document.m_channels[i].number = static_cast<std::int32_t>(i);
}

void CGeneratorModel::ExchangeSides(HistoryStep& step) {
    auto& records = m_document.m_channels;
    const auto first = static_cast<std::ptrdiff_t>(step.first);
    if (!step.Splices()) {
        for (std::size_t k = 0; k < step.count; ++k) {
            ChannelSnapshot& other = step.channels[k];
            std::swap(m_working[step.first + k], other.working);
            if (other.record) std::swap(records[step.first + k], *other.record);
        }
    } else {
        std::vector<ChannelSnapshot> taken;
        taken.reserve(step.count);
        for (std::size_t k = 0; k < step.count; ++k)
            taken.push_back(
                {std::move(m_working[step.first + k]), std::move(records[step.first + k])});
        const auto last = first + static_cast<std::ptrdiff_t>(step.count);
        m_working.erase(m_working.begin() + first, m_working.begin() + last);
        records.erase(records.begin() + first, records.begin() + last);
        for (std::size_t k = 0; k < step.channels.size(); ++k) {
            ChannelSnapshot& other = step.channels[k];
            const auto at = first + static_cast<std::ptrdiff_t>(k);
            m_working.insert(m_working.begin() + at, std::move(other.working));
            records.insert(records.begin() + at, std::move(*other.record));
        }
        step.count = step.channels.size();
        step.channels = std::move(taken);
    }
    std::swap(m_analysisTime, step.analysis_time);
    std::swap(m_sampleRate, step.sample_rate);
    Renumber();
}

ModelChange CGeneratorModel::ChangeFromStep(const HistoryStep& step) const {
    ModelChange change;
    change.time_axis = step.kind == StepKind::AnalysisTime || step.kind == StepKind::SampleRate;
    change.channel_list = step.Splices();
    if (change.channel_list) {
        // The exchange has left in the step what it took out of the model.
        change.first = static_cast<int>(step.first);
        change.removed = static_cast<int>(step.channels.size());
        change.inserted = static_cast<int>(step.count);
    }
    const std::size_t last = change.channel_list ? m_working.size() : step.first + step.count;
    for (std::size_t i = step.first; i < last; ++i) change.channels.push_back(static_cast<int>(i));
    return change;
}

ModelChange CGeneratorModel::Exchange(HistoryStep step) {
    ExchangeSides(step);
    const ModelChange change = ChangeFromStep(step);
    const bool parameter = IsParameter(step.kind);
    const std::uint64_t after = m_history.NewState();
    HistoryStep* last = m_history.LastDone();
    // Never across a save, so that undoing back to the saved state stays possible.
    const bool merges = m_mergeOpen && parameter && last != nullptr && last->kind == step.kind &&
                        last->channel == step.channel && last->after != m_savedState;
    if (merges) {
        // The step's side is an intermediate value typed on the way: the last step already
        // holds the state before the typing began.
        m_history.ExtendLast(after);
        Recycle(step.channels);
    } else {
        step.before = m_history.Current();
        step.after = after;
        m_history.Push(std::move(step));
    }
    m_mergeOpen = parameter;
    return change;
}

ModelChange CGeneratorModel::ResizeAll(StepKind kind, double minutes, double per_minute) {
    if (const Refusal refused = CheckTimeAndRate(minutes, per_minute, m_working.size()))
        return Refused(refused);
    // Drift that fitted a shorter run may overflow a longer one.
    for (int c = 0; c < ChannelCount(); ++c)
        if (Refusal refused = CheckDrift(Working(c).drift, minutes)) {
            refused.channel = c;
            return Refused(refused);
        }
    const double old_time = m_analysisTime;
    const double old_rate = m_sampleRate;
    m_analysisTime = minutes;
    m_sampleRate = per_minute;
    std::vector<ChannelSnapshot> replacement;
    replacement.reserve(m_working.size());
    bool finite = true;
    int failed = -1;
    for (int c = 0; c < ChannelCount() && finite; ++c) {
        replacement.push_back({Working(c), FreshRecord(c, false)});
        finite = Regenerate(replacement.back());
        if (!finite) failed = c;
    }
    m_analysisTime = old_time;
    m_sampleRate = old_rate;
    if (!finite) {
        Recycle(replacement);
        return Refused(RefusalCode::SignalNotFinite, failed);
    }

    HistoryStep step;
    step.kind = kind;
    step.first = 0;
    step.count = m_working.size();
    step.channels = std::move(replacement);
    step.analysis_time = minutes;
    step.sample_rate = per_minute;
    return Exchange(std::move(step));
}

ModelChange CGeneratorModel::SetAnalysisTime(double minutes) {
    return ResizeAll(StepKind::AnalysisTime, minutes, m_sampleRate);
}

ModelChange CGeneratorModel::SetSampleRate(double per_minute) {
    return ResizeAll(StepKind::SampleRate, m_analysisTime, per_minute);
}

ModelChange CGeneratorModel::SetNoise(int channel, double millivolts) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    if (Refusal refused = CheckNoise(millivolts)) {
        refused.channel = channel;
        return Refused(refused);
    }
    WorkingChannel working = Working(channel);
    working.noise = millivolts;
    return ReplaceChannel(StepKind::Noise, channel, std::move(working), true);
}

ModelChange CGeneratorModel::SetDrift(int channel, double millivolts_per_minute) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    if (Refusal refused = CheckDrift(millivolts_per_minute, m_analysisTime)) {
        refused.channel = channel;
        return Refused(refused);
    }
    WorkingChannel working = Working(channel);
    working.drift = millivolts_per_minute;
    return ReplaceChannel(StepKind::Drift, channel, std::move(working), true);
}

ModelChange CGeneratorModel::AddChannel() {
    const std::size_t n = m_working.size();
    if (Refusal refused = CheckChannelCount(n + 1)) return Refused(refused);
    if (Refusal refused = CheckTimeAndRate(m_analysisTime, m_sampleRate, n + 1))
        return Refused(refused);
    std::vector<ChannelSnapshot> added;
    added.push_back({WorkingChannel{}, FreshRecord(static_cast<int>(n), true)});
    return Commit(StepKind::AddChannel, -1, n, 0, std::move(added));
}

ModelChange CGeneratorModel::DeleteChannel(int channel) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    if (m_working.size() < 2) return Refused(RefusalCode::LastChannel, channel);
    return Commit(StepKind::DeleteChannel, -1, static_cast<std::size_t>(channel), 1, {});
}

ModelChange CGeneratorModel::AddPeak(int channel, GenPeak4 peak) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    for (const Refusal refused :
         {CheckPeakTime(peak.time), CheckPeakHeight(peak.height), CheckPeakWidth(peak.width)})
        if (refused) return Refused({refused.code, refused.limit, channel});
    WorkingChannel working = Working(channel);
    working.peaks.push_back(std::move(peak));
    return ReplaceChannel(StepKind::AddPeak, channel, std::move(working));
}

ModelChange CGeneratorModel::SetPeakValue(int channel, int index, PeakValue what, double value) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    if (index < 0 || static_cast<std::size_t>(index) >= Peaks(channel).size())
        return Refused(RefusalCode::NoSuchPeak, channel);
    WorkingChannel working = Working(channel);
    GenPeak4& peak = working.peaks[static_cast<std::size_t>(index)];
    Refusal refused;
    switch (what) {
        case PeakValue::Time:
            refused = CheckPeakTime(value);
            peak.time = value;
            break;
        case PeakValue::Height:
            refused = CheckPeakHeight(value);
            peak.height = value;
            break;
        case PeakValue::Width:
            refused = CheckPeakWidth(value);
            peak.width = value;
            break;
        case PeakValue::Front:
        case PeakValue::Back: {
            const Signal4& signal = ChannelSignal(channel);
            const double front = what == PeakValue::Front ? value : peak.front;
            const double back = what == PeakValue::Back ? value : peak.back;
            refused =
                CheckManualBounds(front, back, peak.time, signal.Grid().start, signal.GetEndTime());
            if (refused) break;
            peak.front = front;
            peak.back = back;
            // The bounds are now the user's: regenerations keep them. They do not change the
            // signal, so only this peak's area is measured again.
            peak.auto_bounds = false;
            ComputePeakArea(signal, peak);
            return ReplaceWorking(channel, std::move(working));
        }
        case PeakValue::Area:
            return FitArea(channel, index, value);
    }
    if (refused) return Refused({refused.code, refused.limit, channel});
    peak.auto_bounds = true;
    return ReplaceChannel(StepKind::EditPeak, channel, std::move(working));
}

ModelChange CGeneratorModel::FitArea(int channel, int index, double area) {
    WorkingChannel working = Working(channel);
    GenPeak4& peak = working.peaks[static_cast<std::size_t>(index)];
    // A negative peak's measured area is negative; what is fitted is its magnitude, whichever
    // sign the user typed.
    const double wanted = peak.height < 0.0 ? std::fabs(area) : area;
    if (Refusal refused = CheckRequestedArea(wanted)) {
        refused.channel = channel;
        return Refused(refused);
    }
    peak.area = wanted;
    peak.auto_bounds = true;
    const WidthFitResult fit =
        FitWidthToArea(ChannelSignal(channel), working.peaks, static_cast<std::size_t>(index),
                       wanted, working.noise, working.drift);
    switch (fit.outcome) {
        case WidthFitOutcome::Fitted:
            return ReplaceChannel(StepKind::EditPeak, channel, std::move(working));
        case WidthFitOutcome::NotPositive:
            return Refused({RefusalCode::AreaNotPositive, 0.0, channel});
        case WidthFitOutcome::Unreachable:
            return Refused({RefusalCode::AreaUnreachable, fit.area, channel});
        case WidthFitOutcome::TooSmall:
            return Refused({RefusalCode::AreaTooSmall, fit.area, channel});
        case WidthFitOutcome::NoHeight:
            return Refused({RefusalCode::AreaNeedsHeight, 0.0, channel});
        case WidthFitOutcome::NonFinite:
            break;
    }
    return Refused({RefusalCode::SignalNotFinite, 0.0, channel});
}

ModelChange CGeneratorModel::RenamePeak(int channel, int index, std::string name) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    if (index < 0 || static_cast<std::size_t>(index) >= Peaks(channel).size())
        return Refused(RefusalCode::NoSuchPeak, channel);
    if (FindNonXmlChar(name)) return Refused(RefusalCode::NameNotStorable, channel);
    WorkingChannel working = Working(channel);
    working.peaks[static_cast<std::size_t>(index)].name = std::move(name);
    return ReplaceWorking(channel, std::move(working));
}

ModelChange CGeneratorModel::DeletePeaks(int channel, std::vector<int> indices) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    WorkingChannel working = Working(channel);
    const int n = static_cast<int>(working.peaks.size());
    std::erase_if(indices, [n](int i) { return i < 0 || i >= n; });
    // From the last up, so that each removal leaves the remaining indices valid.
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (const int i : indices) working.peaks.erase(working.peaks.begin() + i);
    return ReplaceChannel(StepKind::DeletePeaks, channel, std::move(working));
}

ModelChange CGeneratorModel::DeleteAllPeaks(int channel) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    WorkingChannel working = Working(channel);
    working.peaks.clear();
    return ReplaceChannel(StepKind::DeletePeaks, channel, std::move(working));
}

GenPeak4* CGeneratorModel::DraggedPeak() {
    if (!m_drag) return nullptr;
    auto& peaks = m_working[static_cast<std::size_t>(m_drag->channel)].peaks;
    return &peaks.at(static_cast<std::size_t>(m_drag->index));
}

ModelChange CGeneratorModel::BeginDrag(int channel, int index) {
    if (!HasChannel(channel)) return Refused(RefusalCode::NoSuchChannel);
    if (index < 0 || static_cast<std::size_t>(index) >= Peaks(channel).size())
        return Refused(RefusalCode::NoSuchPeak, channel);
    if (m_drag) EndDrag();
    m_drag = Drag{channel, index, Working(channel)};
    return {};
}

ModelChange CGeneratorModel::DragBounds(double front, double back) {
    GenPeak4* peak = DraggedPeak();
    if (peak == nullptr) return Refused(RefusalCode::NoSuchPeak);
    const Signal4& signal = ChannelSignal(m_drag->channel);
    const SampleGrid grid = signal.Grid();
    const double end = signal.GetEndTime();
    // The moved mark stops one sample inside what the rules allow: the front before the
    // retention time, the back after it, both within the analysis.
    if (std::isnan(front) || std::isnan(back)) return Refused(RefusalCode::NotFinite);
    if (front != peak->front)
        front = std::clamp(front, grid.start, std::max(grid.start, peak->time - grid.step));
    if (back != peak->back) back = std::clamp(back, std::min(end, peak->time + grid.step), end);
    if (Refusal refused = CheckManualBounds(front, back, peak->time, grid.start, end)) {
        refused.channel = m_drag->channel;
        return Refused(refused);
    }
    peak->front = front;
    peak->back = back;
    peak->auto_bounds = false;
    ComputePeakArea(signal, *peak);
    m_drag->moved = true;
    return OneChannel(m_drag->channel);
}

ModelChange CGeneratorModel::DragApex(double time, double height) {
    GenPeak4* peak = DraggedPeak();
    if (peak == nullptr) return Refused(RefusalCode::NoSuchPeak);
    // Dragged below the time axis or before the start: the peak stays where it was.
    if (!(time >= 0.0) || !(height >= 0.0) || CheckPeakHeight(height) || CheckPeakTime(time))
        return Refused(RefusalCode::NotFinite, m_drag->channel);
    peak->time = time;
    peak->height = height;
    peak->auto_bounds = true;
    m_drag->moved = true;
    return OneChannel(m_drag->channel);
}

ModelChange CGeneratorModel::DragWidth(double width) {
    GenPeak4* peak = DraggedPeak();
    if (peak == nullptr) return Refused(RefusalCode::NoSuchPeak);
    if (CheckPeakWidth(width)) return Refused(RefusalCode::WidthNotPositive, m_drag->channel);
    peak->width = width;
    peak->auto_bounds = true;
    ComputePeakArea(ChannelSignal(m_drag->channel), *peak);
    m_drag->moved = true;
    return OneChannel(m_drag->channel);
}

ModelChange CGeneratorModel::EndDrag() {
    if (!m_drag) return {};
    Drag drag = std::move(*m_drag);
    m_drag.reset();
    auto& current = m_working[static_cast<std::size_t>(drag.channel)];
    // A press that moved nothing changes nothing, not even the noise.
    if (!drag.moved) return {};
    WorkingChannel dragged = std::move(current);
    current = std::move(drag.before);
    ModelChange change = ReplaceChannel(StepKind::Drag, drag.channel, std::move(dragged));
    if (!change.Applied()) change.channels = {drag.channel};
    return change;
}

ModelChange CGeneratorModel::CancelDrag() {
    if (!m_drag) return {};
    const int channel = m_drag->channel;
    m_working[static_cast<std::size_t>(channel)] = std::move(m_drag->before);
    m_drag.reset();
    return OneChannel(channel);
}

ModelChange CGeneratorModel::Undo() {
    if (m_drag) CancelDrag();
    if (!m_history.CanUndo()) return Refused(RefusalCode::NothingToUndo);
    HistoryStep step = m_history.TakeUndo();
    ExchangeSides(step);
    const ModelChange change = ChangeFromStep(step);
    m_history.Undone(std::move(step));
    m_mergeOpen = false;
    return change;
}

ModelChange CGeneratorModel::Redo() {
    if (m_drag) CancelDrag();
    if (!m_history.CanRedo()) return Refused(RefusalCode::NothingToRedo);
    HistoryStep step = m_history.TakeRedo();
    ExchangeSides(step);
    const ModelChange change = ChangeFromStep(step);
    m_history.Redone(std::move(step));
    m_mergeOpen = false;
    return change;
}

std::unique_ptr<CGeneratorModel> CGeneratorModel::Load(const std::string& path, int& result,
                                                       FileFailure& failure) {
    auto model = std::make_unique<CGeneratorModel>();
    result = model->m_document.LoadFromFile(path);
    failure = model->m_document.LastFailure();
    if (result != 0) return nullptr;
    model->AdoptDocument();
    return model;
}

void CGeneratorModel::AdoptDocument() {
    auto& records = m_document.m_channels;
    // A document without channels opens with one flat channel, as a new chromatogram does.
    if (records.empty()) records.push_back(FreshRecord(0, true));
    Renumber();
    const Signal4& first = records.front().signal;
    const SampleGrid grid = first.Grid();
    if (grid.step > 0.0 && std::isfinite(grid.step) && std::isfinite(grid.start) &&
        first.Size() > 0) {
        m_startTime = grid.start;
        m_sampleRate = 1.0 / grid.step;
        // The time whose ceil(time x rate) is the number of samples held: n x step may round a
        // hair above n samples' worth.
        double minutes = static_cast<double>(first.Size()) * grid.step;
        for (int i = 0; i < 4 && ComputeSampleCount(minutes, m_sampleRate).count > first.Size();
             ++i)
            minutes = std::nextafter(minutes, 0.0);
        m_analysisTime = minutes;
    }
    m_working.assign(records.size(), WorkingChannel{});
    for (std::size_t c = 0; c < records.size(); ++c) {
        for (const Peak4& stored : records[c].table) {
            GenPeak4 peak;
            static_cast<Peak4&>(peak) = stored;
            // The width is not stored: the Gaussian's that holds the stored area. The bounds
            // are the stored ones and stay so until the peak is edited.
            peak.width = WidthForArea(std::fabs(stored.area), peak);
            peak.window_front = peak.time - peak.width;
            peak.window_back = peak.time + peak.width;
            peak.window_front_height = records[c].signal.GetValue(peak.window_front);
            peak.window_back_height = records[c].signal.GetValue(peak.window_back);
            peak.auto_bounds = false;
            m_working[c].peaks.push_back(std::move(peak));
        }
    }
    StartHistory();
}

Refusal CGeneratorModel::AdoptWorking(std::vector<WorkingChannel> working) {
    if (working.size() != m_working.size())
        return {RefusalCode::NoSuchChannel, static_cast<double>(m_working.size()), -1};
    for (std::size_t c = 0; c < working.size(); ++c) {
        const int channel = static_cast<int>(c);
        for (Refusal refused :
             {CheckNoise(working[c].noise), CheckDrift(working[c].drift, m_analysisTime)})
            if (refused) return {refused.code, refused.limit, channel};
        for (const GenPeak4& peak : working[c].peaks)
            for (Refusal refused : {CheckPeakTime(peak.time), CheckPeakHeight(peak.height),
                                    CheckPeakWidth(peak.width)})
                if (refused) return {refused.code, refused.limit, channel};
    }
    for (std::size_t c = 0; c < working.size(); ++c)
        MeasureStoredSamples(m_document.m_channels[c].signal, working[c].peaks);
    m_working = std::move(working);
    StartHistory();
    return {};
}

std::vector<ChannelLeftOut> CGeneratorModel::CollectForSave() {
    std::vector<ChannelLeftOut> left_out;
    for (int c = 0; c < ChannelCount(); ++c) {
        Channel4& record = m_document.m_channels[static_cast<std::size_t>(c)];
        ChannelLeftOut out{c, {}};
        record.table = CollectStoredPeaks(record.signal, Peaks(c), &out.peaks);
        if (!out.peaks.empty()) left_out.push_back(std::move(out));
    }
    return left_out;
}

int CGeneratorModel::SaveToFile(const std::string& path, std::int64_t date) {
    m_document.m_passport.assayid = NewGuidString();
    m_document.m_passport.andate = date;
    const int result = m_document.SaveToFile(path);
    if (result == 0) m_savedState = m_history.Current();
    return result;
}
