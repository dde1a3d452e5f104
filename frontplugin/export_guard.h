#pragma once

// The one place where an export's failures become its result codes: every export
// runs its body through RunExport, so nothing thrown reaches the host.
#include "reentry_guard.h"
#include "thread_state.h"

struct ExportResults {
    int busy;    // a nested call refused by the guard
    int failed;  // anything else thrown inside the export
};

template <class Body>
int GuardedCall(bool& busyFlag, ExportResults results, Body&& body) noexcept
{
    try {
        ReentryGuard guard(busyFlag);
        return body();
    } catch (const ELock&) {
        return results.busy;
    } catch (...) {
        return results.failed;
    }
}

// The busy flag is the calling thread's: other threads' calls run alongside, a nested
// call on this thread is refused.
template <class Body>
int RunExport(ExportResults results, Body&& body) noexcept
{
    ThreadState* thread = ThisThreadState();
    if (!thread)
        return results.failed;
    return GuardedCall(thread->busy, results, body);
}
