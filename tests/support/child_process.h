#pragma once

#include <string>

struct ProcessResult {
    int exitCode = -1;
    std::string standardOutput;
    std::string standardError;
};

// Runs `commandLine` with `input` on its standard input and waits for it, collecting
// both output streams. The child runs in a job that dies with the test, so a hung
// child cannot outlive it. `workingFolder` empty: the test's own.
ProcessResult RunProcess(const std::string& commandLine, const std::string& input = "",
                         const std::string& workingFolder = "");
// The same with a UTF-16 command line, for names the ANSI code page cannot write.
ProcessResult RunProcess(const std::wstring& commandLine, const std::string& input = "");
