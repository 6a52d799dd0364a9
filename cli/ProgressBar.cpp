#include "ProgressBar.h"

#include <unistd.h>
#include <string>

namespace {

constexpr int kBarWidth = 40;
// Runs shorter than this finish before a bar would be worth drawing.
constexpr std::chrono::milliseconds kQuietPeriod{300};

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream)
    : m_stream(stream),
      m_terminal(isatty(fileno(stream)) == 1),
      m_started(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() {
    if (m_drawn) std::fputc('\n', m_stream);
}

void ProgressBar::Update(std::size_t done, std::size_t total) {
    if (!m_terminal || total == 0) return;
    if (!m_drawn && std::chrono::steady_clock::now() - m_started < kQuietPeriod) return;
    const int filled = static_cast<int>(kBarWidth * done / total);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, ' ');
    std::fprintf(m_stream, "\r[%s] %zu/%zu", bar.c_str(), done, total);
    std::fflush(m_stream);
    m_drawn = true;
}
