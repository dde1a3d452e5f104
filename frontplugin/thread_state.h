#pragma once

// The front plug-in's state of one calling thread: its busy flag, its last probe and
// its last rejected names. Made on the thread's first call, freed when the thread ends
// or this library is unloaded, whichever comes first.
#include <string>

#include "probe_result.h"

struct ThreadState {
    bool busy = false;
    SharedProbe probe;  // null until this thread probes
    std::string lastRejectedName;
    std::wstring lastRejectedWideName;
};

// This thread's state; null only when no memory could be had for it.
ThreadState* ThisThreadState() noexcept;

// From DllMain: the ending thread's state goes.
void EndThreadState() noexcept;

// The probe a request of this thread goes to: the thread's own last probe, or, for a
// thread that has made none, the most recent one made in the process (a host may probe
// on one thread and decode on another). Null before any probe.
SharedProbe RequestProbe(const ThreadState& thread);

// Makes `probe` this thread's last probe and the process's most recent one.
void PublishProbe(ThreadState& thread, SharedProbe probe);
