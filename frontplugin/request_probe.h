#pragma once

#include <windows.h>

// The input of a dispatching request: `buf` and the low three bits of `flag` as the
// host passed them.
struct RequestInput {
    LPCSTR buf;
    unsigned int flag;
};

// For a request the last probe's candidates could not serve: when it names a file
// other than the one that probe was made for, probes that file as a host would, with
// its first 2 KB, replacing the candidates. True when this found candidates to run
// the request on again. Memory images, the last probed name and files that cannot be
// read are left to the first answer.
bool ProbeRequestedFile(RequestInput input);

struct WideRequestInput {
    LPCWSTR buf;
    unsigned int flag;
};

// The same for a W request: its file read by its wide name and probed as IsSupportedW
// would probe it.
bool ProbeRequestedFile(WideRequestInput input);
