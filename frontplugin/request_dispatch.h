#pragma once

// What every dispatching export runs: the request goes to the last probe's candidates
// and, when none of them serves it, to those of the file it names.
#include "candidate_dispatch.h"
#include "request_probe.h"

template <class Function, class... Arguments>
int DispatchRequest(RequestInput input, Function* PluginEntryPoints::*entryPoint, int noneSucceeded,
                    Arguments... arguments)
{
    if (CandidateDispatch(entryPoint, noneSucceeded, arguments...) == 0)
        return 0;
    if (!ProbeRequestedFile(input))
        return noneSucceeded;
    return CandidateDispatch(entryPoint, noneSucceeded, arguments...);
}

// A W request: the last probe's candidates, then, as above, those of the file it names.
template <class Request>
int DispatchRequestW(WideRequestInput input, int noneSucceeded, Request&& request)
{
    if (CandidateDispatchEach(noneSucceeded, request) == 0)
        return 0;
    if (!ProbeRequestedFile(input))
        return noneSucceeded;
    return CandidateDispatchEach(noneSucceeded, request);
}
