#include "thread_state.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <vector>

#include "front_state.h"
#include "once_init.h"
#include "registry_library.h"
#include "slim_lock.h"

namespace {

// Every thread's state, reachable from the thread through a TLS slot and from here
// for the unload. The lock is taken only to add or remove an entry: DllMain takes it
// at thread end, so nothing that waits on the loader may run under it.
class ThreadStates {
public:
    ThreadStates() = default;
    ThreadStates(const ThreadStates&) = delete;
    ThreadStates& operator=(const ThreadStates&) = delete;

    ~ThreadStates()
    {
        // At process exit other threads may still be inside; the memory goes with the
        // process.
        if (ProcessEnding() || !slotMade_.Done())
            return;
        for (ThreadState* state : states_)
            delete state;
        if (slot_ != TLS_OUT_OF_INDEXES)
            TlsFree(slot_);
    }

    ThreadState* Current() noexcept
    {
        slotMade_.Run([this] { slot_ = TlsAlloc(); });
        if (slot_ == TLS_OUT_OF_INDEXES)
            return nullptr;
        // Hosts read GetLastError after some calls; looking up the slot must not change it.
        const DWORD error = GetLastError();
        auto* state = static_cast<ThreadState*>(TlsGetValue(slot_));
        SetLastError(error);
        if (state)
            return state;
        state = new (std::nothrow) ThreadState;
        if (!state)
            return nullptr;
        try {
            std::lock_guard<SlimLock> guard(lock_);
            states_.push_back(state);
        } catch (...) {
            delete state;
            return nullptr;
        }
        TlsSetValue(slot_, state);
        SetLastError(error);
        return state;
    }

    void EndCurrent() noexcept
    {
        if (!slotMade_.Done() || slot_ == TLS_OUT_OF_INDEXES)
            return;
        auto* state = static_cast<ThreadState*>(TlsGetValue(slot_));
        if (!state)
            return;
        TlsSetValue(slot_, nullptr);
        {
            std::lock_guard<SlimLock> guard(lock_);
            states_.erase(std::remove(states_.begin(), states_.end(), state), states_.end());
        }
        delete state;
    }

private:
    OnceInit<SlimLock> slotMade_;
    DWORD slot_ = TLS_OUT_OF_INDEXES;
    SlimLock lock_;
    std::vector<ThreadState*> states_;
};

// The process's most recent probe, for threads without one of their own.
class LatestProbe {
public:
    SharedProbe Get()
    {
        std::lock_guard<SlimLock> guard(lock_);
        return probe_;
    }
    void Set(const SharedProbe& probe)
    {
        SharedProbe replaced;
        std::lock_guard<SlimLock> guard(lock_);
        replaced = std::move(probe_);
        probe_ = probe;
    }

private:
    SlimLock lock_;
    SharedProbe probe_;
};

// The latest probe is declared first so that it is destroyed last: no thread state
// refers to it, but thread states may share its probe.
LatestProbe latestProbe;
ThreadStates threadStates;

}  // namespace

ThreadState* ThisThreadState() noexcept
{
    return threadStates.Current();
}

void EndThreadState() noexcept
{
    threadStates.EndCurrent();
}

bool NoChannelFailedSinceLastAsked(ThreadState& thread)
{
    const unsigned long failures = BridgeChannelFailures();
    const bool none = failures == thread.channelFailuresSeen;
    thread.channelFailuresSeen = failures;
    return none;
}

const ProbeResult* RequestProbe(const ThreadState& thread, SharedProbe& held)
{
    if (thread.probe)
        return thread.probe.get();
    held = latestProbe.Get();
    return held.get();
}

std::shared_ptr<ProbeResult> NewProbe(ThreadState& thread)
{
    std::shared_ptr<ProbeResult> probe = std::move(thread.spare);
    // Only this thread can reach the spare: no other reference can appear meanwhile.
    if (!probe || probe.use_count() != 1)
        return std::make_shared<ProbeResult>();
    // Other threads' last uses of it come before the reuse.
    std::atomic_thread_fence(std::memory_order_acquire);
    probe->candidates.clear();
    return probe;
}

void PublishProbe(ThreadState& thread, std::shared_ptr<ProbeResult> probe)
{
    latestProbe.Set(probe);
    thread.spare = std::move(thread.probe);
    thread.probe = std::move(probe);
}
