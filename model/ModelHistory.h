#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "synth/Channel4.h"
#include "synth/Peak4.h"

// What the user sets for one channel: its working peaks, the white noise's standard deviation
// (mV) and the drift (mV per minute).
struct WorkingChannel {
    std::vector<GenPeak4> peaks;
    double noise = 0.0;
    double drift = 0.0;
};

// One channel as a step of the history keeps it: its working channel and, when the step changed
// the samples, the document's record with them (moved, never copied).
struct ChannelSnapshot {
    WorkingChannel working;
    std::optional<Channel4> record;

    std::size_t Bytes() const;
};

enum class StepKind {
    AnalysisTime,
    SampleRate,
    Noise,
    Drift,
    AddChannel,
    DeleteChannel,
    AddPeak,
    EditPeak,
    DeletePeaks,
    Drag,
};

// One undoable change, held as the state on its other side: undoing puts `channels` in place of
// the model's channels [first, first + count) and the time axis back to analysis_time and
// sample_rate, and leaves in the step what it replaced, so that redoing is the same exchange.
struct HistoryStep {
    StepKind kind = StepKind::EditPeak;
    int channel = -1;  // the channel a parameter step belongs to; steps merge only within one
    std::size_t first = 0;
    std::size_t count = 0;
    std::vector<ChannelSnapshot> channels;
    double analysis_time = 0.0;
    double sample_rate = 0.0;
    // The states on either side, for telling whether the model is where it was saved.
    std::uint64_t before = 0;
    std::uint64_t after = 0;

    // Whether the step adds or removes channels rather than replacing them one for one.
    bool Splices() const { return count != channels.size(); }
    std::size_t Bytes() const;
};

// The undo and redo stacks. Bounded: at most kMaxSteps steps and kMaxBytes of kept samples and
// peaks over both stacks; beyond that the oldest undo steps are dropped first, then the furthest
// redo steps, so a step larger than the whole bound is not kept at all (a time cut back from a
// long run gives its memory back at once).
class ModelHistory {
public:
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxBytes = std::size_t{512} << 20;

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    std::size_t UndoCount() const { return m_undo.size(); }
    std::size_t Bytes() const { return m_bytes; }
    // The state the model is in; every applied change makes a new one.
    std::uint64_t Current() const { return m_current; }
    std::uint64_t NewState() { return ++m_lastState; }

    // Records an applied step (its `after` is the new current state) and forgets every redo.
    void Push(HistoryStep step);
    // The last applied step, while nothing was undone since.
    HistoryStep* LastDone();
    // Moves the current state on without a new step: `step` merged into the last one.
    void ExtendLast(std::uint64_t after);

    // Takes the step to undo (the current state becomes its `before`); the caller exchanges it
    // and hands it to Undone.
    HistoryStep TakeUndo();
    void Undone(HistoryStep step);
    HistoryStep TakeRedo();
    void Redone(HistoryStep step);

    // Forgets everything, for a new or opened document.
    void Clear();
    // Where the steps the bound drops go (their samples can serve again); by default nowhere.
    void SetDropped(std::function<void(HistoryStep&&)> dropped) { m_dropped = std::move(dropped); }

private:
    void Trim();

    std::deque<HistoryStep> m_undo;  // back: the last applied
    std::deque<HistoryStep> m_redo;  // back: the next to redo
    std::function<void(HistoryStep&&)> m_dropped;
    std::size_t m_bytes = 0;
    std::uint64_t m_current = 0;
    std::uint64_t m_lastState = 0;
};
