#pragma once

#include <istream>
#include <string>
#include <vector>

// The plug-in paths of one run: the command-line arguments after the program name,
// or, when there are none, the lines of standard input.
std::vector<std::string> GatherPaths(int argc, char** argv);

// One path per line of `input` (read by the platform's text-mode rules; lines of any
// length). Every read line is a path, an empty one included, so input that ends with
// a line end yields a last, empty path; empty input yields one empty path. A path
// ends at its first zero byte, as the loader would see it.
std::vector<std::string> ReadPathList(std::istream& input);
