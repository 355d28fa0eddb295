#include "files/TemporaryFiles.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace resheat {

namespace {

constexpr std::array<int, 4> kSignals{SIGINT, SIGTERM, SIGHUP, SIGXFSZ};

// The paths being guarded, in storage a signal handler may read: a slot is
// claimed, its path written, and only then armed.
struct Slot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> armed{false};
    char path[PATH_MAX]{};
};
constexpr int kSlots = 16;
Slot g_slots[kSlots];

std::mutex g_mutex;               // guards the two below and the installing
int g_guards = 0;                 // guards alive; the handlers are installed while > 0
struct sigaction g_previous[kSignals.size()];
bool g_installed[kSignals.size()];

sigset_t GuardedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int s : kSignals)
        sigaddset(&set, s);
    return set;
}

void RemoveTemporaryFiles(int signal)
{
    const int savedErrno = errno;
    for (Slot &slot : g_slots)
        if (slot.armed.load(std::memory_order_acquire))
            ::unlink(slot.path);
    // The signal's usual effect: it is blocked while this handler runs, so
    // raised again under the program's own action it takes effect on return.
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (kSignals[i] == signal)
            ::sigaction(signal, &g_previous[i], nullptr);
    ::raise(signal);
    errno = savedErrno;
}

void InstallHandlers()
{
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryFiles;
    action.sa_mask = GuardedSignals();
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        g_installed[i] = false;
        if (::sigaction(kSignals[i], nullptr, &g_previous[i]) != 0 || g_previous[i].sa_handler == SIG_IGN)
            continue;
        g_installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

void RestoreHandlers()
{
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (g_installed[i])
            ::sigaction(kSignals[i], &g_previous[i], nullptr);
}

} // namespace

TemporaryFileGuard::TemporaryFileGuard(const std::string &path)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_guards++ == 0)
            InstallHandlers();
    }
    if (path.size() >= PATH_MAX)
        return;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (g_slots[i].claimed.compare_exchange_strong(expected, true)) {
            std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
            g_slots[i].armed.store(true, std::memory_order_release);
            slot_ = i;
            return;
        }
    }
    // More saves at once than slots: this one goes unguarded.
}

void TemporaryFileGuard::release()
{
    if (slot_ < 0)
        return;
    g_slots[slot_].armed.store(false, std::memory_order_release);
    g_slots[slot_].claimed.store(false, std::memory_order_release);
    slot_ = -1;
}

TemporaryFileGuard::~TemporaryFileGuard()
{
    release();
    std::lock_guard<std::mutex> lock(g_mutex);
    if (--g_guards == 0)
        RestoreHandlers();
}

HoldSignals::HoldSignals()
{
    const sigset_t set = GuardedSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &saved_);
}

HoldSignals::~HoldSignals() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

} // namespace resheat
