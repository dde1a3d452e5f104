#pragma once

#include <windows.h>

#include "probe_result.h"

// The input of a dispatching request: `buf` and the low three bits of `flag` as the
// host passed them.
struct RequestInput {
    LPCSTR buf;
    unsigned int flag;
};

// For a request the candidates of `asked` (null: no probe yet) could not serve: when
// it names a file other than the one that probe was made for, probes that file as a
// host would, with its first 2 KB, making this thread's new probe. True when this
// found candidates to run the request on again. Memory images, the probed name and
// files that cannot be read are left to the first answer.
bool ProbeRequestedFile(RequestInput input, const ProbeResult* asked);

struct WideRequestInput {
    LPCWSTR buf;
    unsigned int flag;
};

// The same for a W request: its file read by its wide name and probed as IsSupportedW
// would probe it.
bool ProbeRequestedFile(WideRequestInput input, const ProbeResult* asked);
