#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DocumentRules.h"
#include "ModelHistory.h"
#include "PeakValue.h"
#include "Refusal.h"
#include "SampleBuffers.h"
#include "file/TarvikFile4.h"
#include "synth/NoiseEngine.h"
#include "synth/Peak4.h"
#include "synth/StoredPeaks.h"

// What a change did, for the views to redraw from.
struct ModelChange {
    Refusal refusal;            // set when the change was refused; then nothing changed
    bool time_axis = false;     // every channel has a new time axis (length or step)
    bool channel_list = false;  // channels were added or removed:
    int first = 0;              //   `removed` channels from `first` gave way to `inserted` ones
    int removed = 0;
    int inserted = 0;
    std::vector<int> channels;  // channels whose peaks, settings or samples changed

    bool Applied() const { return !refusal; }
};

// Peaks of one channel that a save leaves out of the stored table.
struct ChannelLeftOut {
    int channel = 0;
    std::vector<LeftOutPeak> peaks;
};

// The chromatogram generator both programs drive: the analysis time and sampling rate shared by
// every channel, the channels with their noise, drift and working peaks, and the document they
// are saved into. No Qt, no window.
//
// Every operation is applied whole or refused with a reason and nothing changed: a change is
// synthesised into new channel records first and takes their place only when every value came
// out finite. The replaced records go to the undo history, so undo and redo give samples, peaks,
// bounds and areas back bit for bit and draw no noise.
//
// Regeneration keeps the order of the one pipeline (RegenerateSignal): fill, automatic bounds on
// the clean signal, noise, drift, areas. Noise comes from the process's one generator, seeded 42
// at its first use, so a program driven through the same steps makes the same signals.
class CGeneratorModel {
public:
    // No channels yet, 10 minutes at 100 samples per minute.
    CGeneratorModel();
    // No channels yet; a time and rate that CheckTimeAndRate refuses leave the defaults.
    CGeneratorModel(double minutes, double per_minute);
    CGeneratorModel(const CGeneratorModel&) = delete;
    CGeneratorModel& operator=(const CGeneratorModel&) = delete;

    // The time axis shared by every channel: sample i lies at start + i / rate minutes.
    double StartTime() const { return m_startTime; }
    double AnalysisTime() const { return m_analysisTime; }
    double SampleRate() const { return m_sampleRate; }

    int ChannelCount() const { return static_cast<int>(m_working.size()); }
    bool HasChannel(int channel) const { return channel >= 0 && channel < ChannelCount(); }
    const WorkingChannel& Working(int channel) const;
    const std::vector<GenPeak4>& Peaks(int channel) const { return Working(channel).peaks; }
    const Signal4& ChannelSignal(int channel) const;
    // What drift and the other baseline components add to the channel's signal at time t
    // (minutes); the peaks' own heights stand on it.
    double BaselineAt(int channel, double t) const;

    // The seed the document's scenario names: a scenario's generation seeds the noise with it;
    // the desktop program's noise generator is seeded with 42 at its first use.
    std::uint32_t Seed() const { return m_seed; }
    void SetSeed(std::uint32_t seed) { m_seed = seed; }

    // The document: its channel records hold the signals; its passport is kept between saves.
    const CTarvikFile4& Document() const { return m_document; }
    Passport& DocumentPassport() { return m_document.m_passport; }

    // Parameters. A time or rate change gives every channel a fresh signal of ceil(time x rate)
    // samples and regenerates them all; noise and drift regenerate their channel.
    ModelChange SetAnalysisTime(double minutes);
    ModelChange SetSampleRate(double per_minute);
    ModelChange SetNoise(int channel, double millivolts);
    ModelChange SetDrift(int channel, double millivolts_per_minute);
    // Consecutive settings of one parameter merge into one undo step (a value typed key by key)
    // until this is called, as when the edit is left.
    void BreakMerge() { m_mergeOpen = false; }

    // The channel's baseline and noise components beside its drift and white noise; refused with
    // nothing changed when CheckComponents refuses them on the current time axis.
    ModelChange SetComponents(int channel, ChannelComponents components);

    // Channels. A new channel is appended with a flat signal of the current length; it is not
    // synthesised until something regenerates it. The last channel cannot be deleted.
    ModelChange AddChannel();
    ModelChange DeleteChannel(int channel);

    // Peaks. A new peak is appended and the channel regenerated. Time, height and width make the
    // bounds automatic again and regenerate; front and back make them manual and only measure the
    // peak's area again; an area fits the width to it and regenerates.
    ModelChange AddPeak(int channel, GenPeak4 peak);
    ModelChange SetPeakValue(int channel, int index, PeakValue what, double value);
    ModelChange RenamePeak(int channel, int index, std::string name);
    // Indices outside the list are ignored; the rest go in one step.
    ModelChange DeletePeaks(int channel, std::vector<int> indices);
    ModelChange DeleteAllPeaks(int channel);

    // A drag on the graph, one undo step from press to release. While it runs the peak follows
    // the pointer and its area is measured on the current signal; the signal is synthesised
    // again at the end. Bounds stop one sample inside what CheckManualBounds allows; a negative
    // apex time or height and a width that is not positive leave the peak as it was.
    ModelChange BeginDrag(int channel, int index);
    ModelChange DragBounds(double front, double back);
    ModelChange DragApex(double time, double height);
    ModelChange DragWidth(double width);
    ModelChange EndDrag();
    // Puts the peak back as it was at the press; nothing is regenerated.
    ModelChange CancelDrag();
    bool Dragging() const { return m_drag.has_value(); }

    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    ModelChange Undo();
    ModelChange Redo();
    // Whether the state differs from the one last saved (or started from).
    bool Modified() const { return m_history.Current() != m_savedState; }
    const ModelHistory& History() const { return m_history; }
    // Forgets every step and takes the state as it is for the saved one: for a chromatogram
    // just built or opened, which has nothing to undo and nothing unsaved.
    void StartHistory();

    // Reads the document at `path` into a new model, its samples exactly as stored: nothing is
    // regenerated and no noise is drawn until a change touches a channel. The time axis comes
    // from the first channel; the working peaks are the stored ones (their widths estimated from
    // area and height, their bounds as stored), noise and drift 0, until AdoptWorking says
    // otherwise. `result` is 0 or the document's load code; on failure the model is null and
    // `failure` says which file failed and why.
    static std::unique_ptr<CGeneratorModel> Load(const std::string& path, int& result,
                                                 FileFailure& failure);
    // The same for a document that `make` fills in memory, as a scenario's generation does.
    static std::unique_ptr<CGeneratorModel> MadeBy(const std::function<void(CTarvikFile4&)>& make);
    // Takes the working channels a document's generator settings describe, one per channel, and
    // measures them on the stored samples: automatic bounds on the clean sum of the peaks, every
    // area on the samples as stored. Refused, with nothing changed, for another number of
    // channels or values the rules refuse.
    Refusal AdoptWorking(std::vector<WorkingChannel> working);

    // Refills every channel's stored peak table from its working peaks, leaving out peaks whose
    // retention time lies outside the analysis or whose bounds reach its end. Returns those, per
    // channel that has any.
    std::vector<ChannelLeftOut> CollectForSave();
    // Stamps the passport with a new assay identifier and `date` (seconds since 1970 UTC), puts
    // the settings entry `settings` gives for the stamped model (when given) and writes the
    // document; on success the current state becomes the saved one. Returns 0 or a save_result
    // code; the document's LastFailure() says more.
    using SettingsFn = std::function<std::string(const CGeneratorModel&)>;
    int SaveToFile(const std::string& path, std::int64_t date, const SettingsFn& settings = {});

private:
    struct Drag {
        int channel = -1;
        int index = -1;
        WorkingChannel before;
        bool moved = false;
    };

    // Every channel of the model as one list entry: what the document keeps and what it is made
    // from.
    ChannelSnapshot TakeChannel(int channel) const;
    // A record on the model's time axis: flat (every sample 0) for a new channel, or with samples
    // the regeneration will write.
    Channel4 FreshRecord(int number, bool flat);
    // A record on the channel's own time axis whose samples the regeneration will write.
    Channel4 RecordLike(int channel);
    // Keeps the samples of records the model has finished with for later regenerations.
    void Recycle(std::vector<ChannelSnapshot>& channels);
    std::size_t RecycleLimit() const;
    // The channel's components as the synthesis draws them: from the model's seed and the
    // channel's position.
    ChannelComponents ComponentsOf(const WorkingChannel& working, int channel) const;
    // Synthesises `snapshot`'s record from its working channel. False when a sample or a value
    // came out infinite or undefined.
    bool Regenerate(ChannelSnapshot& snapshot) const;
    // Puts `replacement` in place of channels [first, first + count) and records what it
    // replaced as one undo step of `kind`.
    ModelChange Commit(StepKind kind, int merge_channel, std::size_t first, std::size_t count,
                       std::vector<ChannelSnapshot> replacement);
    // Regenerates one changed channel and commits it.
    ModelChange ReplaceChannel(StepKind kind, int channel, WorkingChannel working,
                               bool merge = false);
    // Commits a change of the working peaks alone; the samples stay.
    ModelChange ReplaceWorking(int channel, WorkingChannel working);
    ModelChange ResizeAll(StepKind kind, double minutes, double per_minute);
    ModelChange FitArea(int channel, int index, double area);
    // Puts the step's side in place of the model's and keeps the model's side in the step.
    void ExchangeSides(HistoryStep& step);
    // Applies `step` (built as the state to go to) and records it, merging a parameter typed on
    // into the step before it.
    ModelChange Exchange(HistoryStep step);
    ModelChange ChangeFromStep(const HistoryStep& step) const;
    GenPeak4* DraggedPeak();
    void Renumber();
    // Takes the loaded document's channels as they are: the time axis, the stored peaks.
    void AdoptDocument();

    double m_startTime = 0.0;      // minutes; time of sample 0 of every signal
    double m_analysisTime = 10.0;  // minutes
    double m_sampleRate = 100.0;   // samples per minute
    CTarvikFile4Improved m_document;
    std::vector<WorkingChannel> m_working;  // one per channel record of m_document, same order
    ModelHistory m_history;
    SampleBuffers m_buffers;
    std::uint64_t m_savedState = 0;
    std::uint32_t m_seed = NoiseEngine::kDefaultSeed;
    bool m_mergeOpen = false;
    std::optional<Drag> m_drag;
};
