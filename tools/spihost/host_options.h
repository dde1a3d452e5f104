#pragma once

// The spihost command line, read into what to do.
#include <string>
#include <vector>

struct HostOptions {
    std::string command;  // plugin, info, picture, list, extract
    std::vector<std::string> operands;
    bool fromMemory = false;  // give the plug-in a memory image instead of a file name
    bool toMemory = false;    // extract: the plug-in hands entries over in memory
    bool byHandle = false;    // IsSupported gets a file handle instead of the first 2 KB
    bool preview = false;     // picture: GetPreview instead of GetPicture
    bool ansiOnly = false;    // call the ANSI entry points even where W ones are exported
};

// Fills `options`; false with `problem` set when the line is not a valid request.
// Arguments beginning with "/configfile:" are left to the registry library, which
// reads them from the process's command line, and skipped here.
bool ParseHostOptions(const std::vector<std::string>& arguments, HostOptions& options, std::string& problem);

extern const char kHostUsageText[];
