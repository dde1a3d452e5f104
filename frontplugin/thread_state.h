#pragma once

// The front plug-in's state of one calling thread: its busy flag, its last probe and
// its last rejected names. Made on the thread's first call, freed when the thread ends
// or this library is unloaded, whichever comes first.
#include <string>

#include "probe_result.h"

struct ThreadState {
    bool busy = false;
    std::shared_ptr<ProbeResult> probe;  // null until this thread probes; shared once made
    // The probe before, kept so that its memory serves the next one.
    std::shared_ptr<ProbeResult> spare;
    std::string lastRejectedName;
    std::wstring lastRejectedWideName;
    unsigned long channelFailuresSeen = 0;
};

// This thread's state; null only when no memory could be had for it.
ThreadState* ThisThreadState() noexcept;

// A probe that found no plug-in is remembered as rejected only when the bridge's
// channel has not failed on this thread since the last time this was asked: a plug-in
// the helper could not ask has not said no. (A failure in an earlier call costs at
// most one name not remembered.)
bool NoChannelFailedSinceLastAsked(ThreadState& thread);

// From DllMain: the ending thread's state goes.
void EndThreadState() noexcept;

// The probe a request of this thread goes to: the thread's own last probe, or, for a
// thread that has made none, the most recent one made in the process (a host may probe
// on one thread and decode on another), which `held` then keeps for the request. Null
// before any probe. The thread's own stays valid through the request: only this
// thread replaces it, and a replaced one is kept as the spare.
const ProbeResult* RequestProbe(const ThreadState& thread, SharedProbe& held);

// An empty result for this thread's next probe: its earlier one when nobody else
// holds that any more (a probe then costs no new memory), else a new one.
std::shared_ptr<ProbeResult> NewProbe(ThreadState& thread);

// Makes `probe` this thread's last probe and the process's most recent one.
void PublishProbe(ThreadState& thread, std::shared_ptr<ProbeResult> probe);
