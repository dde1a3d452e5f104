#pragma once

#include <string>

// spihost's exit statuses.
enum HostStatus : int {
    kHostDone = 0,
    kHostPluginError = 1,   // a plug-in call returned an error code
    kHostUsage = 2,
    kHostCannotLoad = 3,    // not loadable, or a needed entry point is missing
    kHostNotAccepted = 4,   // IsSupported said no
    kHostFileError = 5,     // a file cannot be read or written
    kHostStale = 6,         // check: the catalogue no longer matches its plug-ins
};

// Ends a command: main prints the message and exits with the status.
struct HostFailure {
    HostStatus status;
    std::string message;
};
