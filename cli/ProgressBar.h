#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

// A one-line progress bar on a terminal stream. It draws only when the stream is a terminal and
// the work has run for a moment, so short runs and redirected output stay clean.
class ProgressBar {
public:
    explicit ProgressBar(std::FILE* stream);
    ~ProgressBar();

    void Update(std::size_t done, std::size_t total);

private:
    std::FILE* m_stream;
    bool m_terminal;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_started;
};
