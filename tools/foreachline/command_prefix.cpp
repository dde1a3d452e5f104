#include "command_prefix.h"

std::string CommandPrefix(int argc, char** argv)
{
    std::string prefix;
    for (int i = 1; i < argc; ++i) {
        prefix += argv[i];
        prefix += ' ';
    }
    return prefix;
}
