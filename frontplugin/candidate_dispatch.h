#pragma once

// Hands one request of the host to the candidates of the last probe, in catalogue
// order, until one of them succeeds.
#include "module_set.h"
#include "plugin_binding.h"

// Calls `entryPoint` of each candidate that has it with the host's arguments,
// unchanged. Returns 0 at the first candidate that returns 0; any other code is
// dropped in favour of the next candidate, and `noneSucceeded` ends the walk.
template <class Function, class... Arguments>
int CandidateDispatch(Function* PluginEntryPoints::*entryPoint, int noneSucceeded, Arguments... arguments)
{
    // Candidates were bound by the probe that chose them; nothing is loaded here.
    for (ModuleCatalogue::ModuleList::iterator candidate : modules().candidates) {
        Function* function = GetEntryPoints(*candidate)->*entryPoint;
        if (function && function(arguments...) == 0)
            return 0;
    }
    return noneSucceeded;
}

// The same walk with a request that decides per candidate how to ask it: `request`
// takes the candidate's PluginEntryPoints and returns its result, any non-zero code
// when the candidate cannot be asked.
template <class Request>
int CandidateDispatchEach(int noneSucceeded, Request&& request)
{
    for (ModuleCatalogue::ModuleList::iterator candidate : modules().candidates) {
        if (request(*GetEntryPoints(*candidate)) == 0)
            return 0;
    }
    return noneSucceeded;
}
