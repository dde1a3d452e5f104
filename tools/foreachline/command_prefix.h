#pragma once

#include <string>

// The fixed front of every command: each argument after the program name followed by
// one blank, neither quoted nor escaped. Empty when there are no arguments.
std::string CommandPrefix(int argc, char** argv);
