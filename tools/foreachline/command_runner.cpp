#include "command_runner.h"

#include <cstdio>
#include <cstdlib>

void RunCommand(const std::string& command)
{
    // The command inherits our standard streams; nothing of ours may be left
    // buffered in front of its output.
    std::fflush(nullptr);
    std::system(command.c_str());
}
