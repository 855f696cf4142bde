#include "Interrupts.h"

#include <csignal>
#include <cstdlib>

namespace {

// The handler can reach only a global; it is set once, before any signal is caught.
Interrupts* g_interrupts = nullptr;

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free flags");

} // namespace

int Interrupts::ExitStatus() const
{
    const int caught = signal.load();
    return caught == 0 ? EXIT_INTERRUPTED : 128 + caught;
}

void EndByInterrupt(const Interrupts& interrupts)
{
    EndBySignal(interrupts);
    std::_Exit(interrupts.ExitStatus());
}

void CatchInterrupts(Interrupts& interrupts)
{
    g_interrupts = &interrupts;
    InstallInterruptHandlers();
}

void RecordInterrupt(int signal)
{
    if (!g_interrupts)
        return;
    int none = 0;
    g_interrupts->signal.compare_exchange_strong(none, signal);
    if (g_interrupts->stop.exchange(true))
        g_interrupts->stopWaiting.store(true);
}
