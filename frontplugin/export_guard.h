#pragma once

// The one place where an export's failures become its result codes: every export
// runs its body through RunExport, so nothing thrown reaches the host.
#include "front_state.h"
#include "reentry_guard.h"

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

template <class Body>
int RunExport(ExportResults results, Body&& body) noexcept
{
    return GuardedCall(BusyFlag(), results, body);
}
