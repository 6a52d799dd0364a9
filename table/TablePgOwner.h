#pragma once

struct Signal4;
struct GenPeak4;

// What a peak-table page needs from the window that owns the channels. Every index is the
// page's own channel number, never "the current channel": an edit committed while the user
// switches tabs still belongs to the page it was typed into.
class ITablePgOwner {
public:
    // Synthesises the channel again from its page's peaks, noise and drift, then refreshes the
    // page's rows.
    virtual void RegenerateChannel(int index) = 0;
    // Fits the peak's width to its typed area on the channel's signal, with that channel's
    // noise and drift. The page regenerates the channel afterwards.
    virtual void ApplyPeakArea(GenPeak4& peak, int index) = 0;
    // The channel's signal, or nullptr when there is no such channel.
    virtual Signal4* ChannelSignal(int index) = 0;
    // Repaints the window: the graph shows the selected peak and the measured bounds.
    virtual void InvalidateDialog() = 0;

protected:
    ~ITablePgOwner() = default;
};
