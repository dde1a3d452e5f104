// foreachline: for every non-empty line of standard input, runs the arguments followed
// by that line as one command through the system command interpreter, one command at a
// time. Lines of any length are run whole: a cut line could name something other than
// what the user wrote.
#include <iostream>
#include <string>

#include "command_prefix.h"
#include "command_runner.h"

int main(int argc, char** argv)
{
    const std::string prefix = CommandPrefix(argc, argv);
    std::string line;
    // Standard input is read in text mode: CR LF arrives as a line feed, and Ctrl-Z
    // ends the input.
    while (std::getline(std::cin, line)) {
        // The command is a zero-terminated text, so it ends at the line's first zero
        // byte; a line that starts with one is as empty as an empty line.
        std::string text = line.substr(0, line.find('\0'));
        if (!text.empty())
            RunCommand(prefix + text);
    }
    return 0;
}
