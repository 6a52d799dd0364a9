#include "ModelHistory.h"

#include <utility>

std::size_t ChannelSnapshot::Bytes() const {
    std::size_t bytes = sizeof(ChannelSnapshot) + working.peaks.capacity() * sizeof(GenPeak4);
    for (const GenPeak4& peak : working.peaks) bytes += peak.name.capacity();
    if (record) {
        bytes += record->signal.samples.capacity() * sizeof(float);
        bytes += record->table.capacity() * sizeof(Peak4);
    }
    return bytes;
}

std::size_t HistoryStep::Bytes() const {
    std::size_t bytes = sizeof(HistoryStep);
    for (const ChannelSnapshot& channel : channels) bytes += channel.Bytes();
    return bytes;
}

void ModelHistory::Push(HistoryStep step) {
    for (HistoryStep& dropped : m_redo) {
        m_bytes -= dropped.Bytes();
        if (m_dropped) m_dropped(std::move(dropped));
    }
    m_redo.clear();
    m_current = step.after;
    m_bytes += step.Bytes();
    m_undo.push_back(std::move(step));
    Trim();
}

HistoryStep* ModelHistory::LastDone() {
    if (m_undo.empty() || !m_redo.empty() || m_undo.back().after != m_current) return nullptr;
    return &m_undo.back();
}

void ModelHistory::ExtendLast(std::uint64_t after) {
    if (m_undo.empty()) return;
    m_undo.back().after = after;
    m_current = after;
}

HistoryStep ModelHistory::TakeUndo() {
    HistoryStep step = std::move(m_undo.back());
    m_undo.pop_back();
    m_bytes -= step.Bytes();
    m_current = step.before;
    return step;
}

void ModelHistory::Undone(HistoryStep step) {
    m_bytes += step.Bytes();
    m_redo.push_back(std::move(step));
    Trim();
}

HistoryStep ModelHistory::TakeRedo() {
    HistoryStep step = std::move(m_redo.back());
    m_redo.pop_back();
    m_bytes -= step.Bytes();
    m_current = step.after;
    return step;
}

void ModelHistory::Redone(HistoryStep step) {
    m_bytes += step.Bytes();
    m_undo.push_back(std::move(step));
    Trim();
}

void ModelHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
    m_current = NewState();
}

void ModelHistory::Trim() {
    const auto drop = [this](std::deque<HistoryStep>& steps) {
        m_bytes -= steps.front().Bytes();
        if (m_dropped) m_dropped(std::move(steps.front()));
        steps.pop_front();
    };
    while (!m_undo.empty() && (m_bytes > kMaxBytes || m_undo.size() + m_redo.size() > kMaxSteps))
        drop(m_undo);
    while (!m_redo.empty() && (m_bytes > kMaxBytes || m_redo.size() > kMaxSteps)) drop(m_redo);
}
