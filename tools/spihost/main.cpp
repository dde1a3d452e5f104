// spihost: a console host for Susie plug-ins. Loads one plug-in, asks it about one
// file the way an image viewer or file manager would, and prints every step, so a
// user can see which plug-in serves a file and why a file does not open.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "host_commands.h"
#include "host_failure.h"
#include "host_text.h"

// The wide command line, so that file names the ANSI code page cannot write arrive
// whole.
extern "C" int wmain(int argc, wchar_t** argv)
{
    Utf8Console console;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Utf8FromWide(argv[i]));
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
