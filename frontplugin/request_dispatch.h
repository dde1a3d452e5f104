#pragma once

// What every dispatching export runs: the request goes to the candidates of the last
// probe this thread made (or of the process's latest, for a thread that made none)
// and, when none of them serves it, to those of the file it names. A request that a
// candidate gave up because the host's callback asked it to stop gets no second try.
#include "candidate_dispatch.h"
#include "request_probe.h"
#include "thread_state.h"

template <class Function, class... Arguments>
int DispatchRequest(RequestInput input, Function* PluginEntryPoints::*entryPoint, int noneSucceeded,
                    Arguments... arguments)
{
    ThreadState& thread = *ThisThreadState();
    SharedProbe held;
    const ProbeResult* probe = RequestProbe(thread, held);
    bool cancelled = false;
    if (CandidateDispatch(probe, cancelled, entryPoint, noneSucceeded, arguments...) == 0)
        return 0;
    if (cancelled || !ProbeRequestedFile(input, probe))
        return noneSucceeded;
    return CandidateDispatch(thread.probe.get(), cancelled, entryPoint, noneSucceeded, arguments...);
}

// A W request: the same, with the file probed by its wide name.
template <class Request>
int DispatchRequestW(WideRequestInput input, int noneSucceeded, Request&& request)
{
    ThreadState& thread = *ThisThreadState();
    SharedProbe held;
    const ProbeResult* probe = RequestProbe(thread, held);
    bool cancelled = false;
    if (CandidateDispatchEach(probe, cancelled, noneSucceeded, request) == 0)
        return 0;
    if (cancelled || !ProbeRequestedFile(input, probe))
        return noneSucceeded;
    return CandidateDispatchEach(thread.probe.get(), cancelled, noneSucceeded, request);
}
