#pragma once

// Hands one request of the host to the candidates of a probe, in catalogue order,
// until one of them succeeds.
#include "plugin_binding.h"
#include "plugin_interface.h"
#include "probe_result.h"

// Calls `entryPoint` of each candidate that has it with the host's arguments,
// unchanged. Returns 0 at the first candidate that returns 0; any other code is
// dropped in favour of the next candidate, and `noneSucceeded` ends the walk.
// `cancelled` is set when a candidate answered that the host's callback stopped it.
template <class Function, class... Arguments>
int CandidateDispatch(const ProbeResult* probe, bool& cancelled, Function* PluginEntryPoints::*entryPoint,
                      int noneSucceeded, Arguments... arguments)
{
    if (!probe)
        return noneSucceeded;
    // Candidates were bound by the probe that chose them; nothing is loaded here.
    for (const PluginEntryPoints* candidate : probe->candidates) {
        Function* function = candidate->*entryPoint;
        if (!function)
            continue;
        const int result = function(arguments...);
        if (result == 0)
            return 0;
        cancelled = cancelled || result == kSpiCancelled;
    }
    return noneSucceeded;
}

// The same walk with a request that decides per candidate how to ask it: `request`
// takes the candidate's PluginEntryPoints and returns its result, any non-zero code
// when the candidate cannot be asked.
template <class Request>
int CandidateDispatchEach(const ProbeResult* probe, bool& cancelled, int noneSucceeded, Request&& request)
{
    if (!probe)
        return noneSucceeded;
    for (const PluginEntryPoints* candidate : probe->candidates) {
        const int result = request(*candidate);
        if (result == 0)
            return 0;
        cancelled = cancelled || result == kSpiCancelled;
    }
    return noneSucceeded;
}
