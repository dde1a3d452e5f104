// spihost: a console host for Susie plug-ins. Loads one plug-in, asks it about one
// file the way an image viewer or file manager would, and prints every step, so a
// user can see which plug-in serves a file and why a file does not open.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host_commands.h"
#include "host_failure.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    HostOptions options;
    std::string problem;
    if (!ParseHostOptions(arguments, options, problem)) {
        std::fprintf(stderr, "spihost: %s\n%s", problem.c_str(), kHostUsageText);
        return kHostUsage;
    }
    try {
        RunHostCommand(options);
    } catch (const HostFailure& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "spihost: %s\n", failure.message.c_str());
        if (failure.status == kHostUsage)
            std::fputs(kHostUsageText, stderr);
        return failure.status;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "spihost: %s\n", error.what());
        return kHostPluginError;
    }
    std::fflush(stdout);
    return kHostDone;
}
