#include "Platform/SignalCleanup.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// Enough for the saves one process runs at once; paths as long as the system allows.
constexpr int kSlots = 64;
constexpr std::size_t kPathSize = 4096;

enum SlotState : int { FREE = 0, FILLING = 1, ARMED = 2 };

struct Slot {
    std::atomic<int> state{FREE};
    char path[kPathSize];
};

Slot slots[kSlots];
struct sigaction previous[kSignalCount];

std::mutex mutex;
int watched = 0;  // guarded by mutex

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots");

void removeWatchedFiles()
{
    for (Slot& slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == ARMED) {
            (void)::unlink(slot.path);
        }
    }
}

void onSignal(int signal, siginfo_t* info, void* context)
{
    int index = 0;
    while (index < kSignalCount && kSignals[index] != signal) {
        ++index;
    }
    if (index == kSignalCount) {
        return;
    }
    const struct sigaction& before = previous[index];
    if ((before.sa_flags & SA_SIGINFO) != 0) {
        if (before.sa_sigaction != nullptr) {
            before.sa_sigaction(signal, info, context);
        }
        return;
    }
    if (before.sa_handler == SIG_IGN) {
        return;
    }
    if (before.sa_handler != SIG_DFL) {
        before.sa_handler(signal);
        return;
    }
    // The signal ends the process: take the temporary files along, then end it the way the
    // signal would have, so the parent sees the same cause.
    const int savedErrno = errno;
    removeWatchedFiles();
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    (void)::sigaction(signal, &byDefault, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    (void)::pthread_sigmask(SIG_UNBLOCK, &unblock, nullptr);
    (void)::raise(signal);
    errno = savedErrno;
}

void install()
{
    for (int i = 0; i < kSignalCount; ++i) {
        // The former disposition is in place before the handler that reads it.
        (void)::sigaction(kSignals[i], nullptr, &previous[i]);
        struct sigaction ours {};
        ours.sa_sigaction = onSignal;
        ours.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&ours.sa_mask);
        (void)::sigaction(kSignals[i], &ours, nullptr);
    }
}

void uninstall()
{
    for (int i = 0; i < kSignalCount; ++i) {
        struct sigaction current {};
        // A disposition the program set meanwhile stays.
        if (::sigaction(kSignals[i], nullptr, &current) == 0 &&
            (current.sa_flags & SA_SIGINFO) != 0 && current.sa_sigaction == onSignal) {
            (void)::sigaction(kSignals[i], &previous[i], nullptr);
        }
    }
}

}  // namespace

int SignalCleanup::watch(const std::string& path)
{
    if (path.size() >= kPathSize) {
        return -1;
    }
    const std::lock_guard<std::mutex> lock(mutex);
    for (int i = 0; i < kSlots; ++i) {
        int expected = FREE;
        if (!slots[i].state.compare_exchange_strong(expected, FILLING)) {
            continue;
        }
        std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].state.store(ARMED, std::memory_order_release);
        if (watched++ == 0) {
            install();
        }
        return i;
    }
    return -1;
}

void SignalCleanup::unwatch(int ticket)
{
    if (ticket < 0 || ticket >= kSlots) {
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex);
    if (slots[ticket].state.exchange(FREE) == FREE) {
        return;
    }
    if (--watched == 0) {
        uninstall();
    }
}

int SignalCleanup::watchedCount()
{
    const std::lock_guard<std::mutex> lock(mutex);
    return watched;
}

}  // namespace Platform
