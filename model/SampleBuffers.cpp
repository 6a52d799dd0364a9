#include "SampleBuffers.h"

#include <utility>

std::vector<float> SampleBuffers::Take(std::size_t n) {
    // The exact size first (no write at all), else the smallest that holds n without wasting
    // more than it holds: a long run's array must not stand in for a short run's.
    std::size_t best = m_kept.size();
    for (std::size_t i = 0; i < m_kept.size(); ++i) {
        const std::vector<float>& kept = m_kept[i];
        if (kept.capacity() < n || kept.capacity() / 2 > n) continue;
        if (kept.size() == n) {
            best = i;
            break;
        }
        if (best == m_kept.size() || kept.capacity() < m_kept[best].capacity()) best = i;
    }
    std::vector<float> samples;
    if (best < m_kept.size()) {
        samples = std::move(m_kept[best]);
        m_kept.erase(m_kept.begin() + static_cast<std::ptrdiff_t>(best));
        m_bytes -= samples.capacity() * sizeof(float);
    }
    samples.resize(n);
    return samples;
}

void SampleBuffers::Give(std::vector<float>&& samples, std::size_t limit_bytes) {
    const std::size_t bytes = samples.capacity() * sizeof(float);
    if (bytes == 0 || m_bytes + bytes > limit_bytes) {
        std::vector<float>().swap(samples);
        return;
    }
    m_bytes += bytes;
    m_kept.push_back(std::move(samples));
}

void SampleBuffers::Clear() {
    m_kept.clear();
    m_bytes = 0;
}
