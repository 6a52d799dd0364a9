#include "TemporaryFiles.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace temporary_files {
namespace {

// Signals are process-wide, so the list is too. A signal handler may only read it, so it is
// fixed storage with lock-free states instead of a container that could be mid-reallocation.
constexpr std::size_t kSlots = 16;  // a save has two files open at most; exports one at a time
constexpr std::size_t kPathBytes = 4096;
constexpr int kFree = 0;
constexpr int kFilling = 1;
constexpr int kArmed = 2;
static_assert(std::atomic<int>::is_always_lock_free);

struct Slot {
    std::atomic<int> state{kFree};
    char path[kPathBytes];
};
Slot g_slots[kSlots];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveAndEnd(int signal_number) {
    for (Slot& slot : g_slots)
        if (slot.state.load() == kArmed) ::unlink(slot.path);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    ::sigaction(signal_number, &default_action, nullptr);
    // Blocked while the handler runs; delivered, with the default action, when it returns.
    ::raise(signal_number);
}

void InstallHandlers() {
    for (int signal_number : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal_number, nullptr, &current) != 0) continue;
        if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
        struct sigaction action {};
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        for (int other : kSignals) sigaddset(&action.sa_mask, other);
        ::sigaction(signal_number, &action, nullptr);
    }
}

}  // namespace

int Track(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    if (path.size() >= kPathBytes) return -1;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        g_slots[i].state.store(kArmed);
        return static_cast<int>(i);
    }
    return -1;
}

void Untrack(int handle) {
    if (handle >= 0 && static_cast<std::size_t>(handle) < kSlots)
        g_slots[handle].state.store(kFree);
}

}  // namespace temporary_files
