#pragma once

#include <cstddef>
#include <vector>

// Sample arrays the model has finished with (a typed value overtaken by the next keystroke, a
// refused change, a step dropped from the history), kept for the next regeneration. A long run's
// arrays are megabytes; handing them back to the system and faulting fresh pages in at every
// keystroke costs more than the synthesis itself.
class SampleBuffers {
public:
    // An array of `n` samples whose values are unspecified: for a regeneration, which writes
    // every sample. Reuses a kept array of n to 2n samples' room.
    std::vector<float> Take(std::size_t n);
    // Keeps `samples` while all kept arrays stay within `limit_bytes`; frees them otherwise, so a
    // run cut short gives its memory back.
    void Give(std::vector<float>&& samples, std::size_t limit_bytes);
    void Clear();
    std::size_t Bytes() const { return m_bytes; }

private:
    std::vector<std::vector<float>> m_kept;
    std::size_t m_bytes = 0;
};
