#pragma once

// Why the generator model refused a change. Each program words it in its own language; the
// model keeps the numbers a message needs (the limit that was crossed, the channel concerned).
enum class RefusalCode {
    None,
    NotFinite,           // the value is not a finite number
    TimeNotPositive,     // analysis time <= 0
    RateBelowOne,        // fewer than one sample per minute
    ChannelTooLong,      // one channel would pass the synthesis limit (limit: samples)
    DocumentTooLong,     // all channels together would pass the document's limit (limit: samples)
    TooManyChannels,     // the document numbers channels with 8 bits (limit: channels)
    LastChannel,         // a chromatogram keeps at least one channel
    NoiseNegative,       // noise is a standard deviation
    NoiseTooLarge,       // its deviates would leave single precision (limit: mV)
    DriftTooLarge,       // drift x time would leave single precision (limit: mV per minute)
    HeightTooLarge,      // beyond single precision (limit: mV)
    WidthNotPositive,    // a width must be greater than 0
    TailingOutOfRange,   // the tailing factor lies outside 0.5..4
    FrontNotBeforeBack,  // a peak's front must lie before its back
    BoundsExcludeTime,   // the bounds must hold the retention time
    BoundsOutsideRun,    // the bounds must lie within the analysis (limit: its end)
    AreaNotPositive,     // an area to fit a width to must be greater than 0
    AreaUnreachable,     // no width within the analysis gives it (limit: the largest reached)
    AreaTooSmall,        // however narrow, a peak keeps about height x step (limit: the least)
    AreaNeedsHeight,     // a peak of height 0 has no area whatever its width
    SignalNotFinite,     // the regenerated channel would hold infinite or undefined values
    NameNotStorable,     // a name with characters the document's XML cannot hold
    NoSuchChannel,
    NoSuchPeak,
    NothingToUndo,
    NothingToRedo,
};

struct Refusal {
    RefusalCode code = RefusalCode::None;
    double limit = 0.0;  // what the code says it is; 0 otherwise
    int channel = -1;    // the channel concerned, where one is

    explicit operator bool() const { return code != RefusalCode::None; }
};
