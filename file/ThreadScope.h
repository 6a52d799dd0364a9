#pragma once

// A mode a thread is in while an object of `Mode` (a class deriving from this one) lives on it.
// Each object restores the state it found, so scopes nest.
template <class Mode>
class ThreadScope {
public:
    ThreadScope() : m_outer(t_active) { t_active = true; }
    ~ThreadScope() { t_active = m_outer; }
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;

    // True while an object lives on the calling thread.
    static bool Active() { return t_active; }

private:
    static inline thread_local bool t_active = false;
    bool m_outer;  // the state found, restored on destruction
};
