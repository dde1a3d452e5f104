#include "path_source.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <sstream>

#include "stream_input.h"
#include "text_lines.h"

namespace {

// All of standard input, as raw bytes: the line rules are applied by TextLines.
std::string ReadStandardInput()
{
    _setmode(_fileno(stdin), _O_BINARY);
    std::string bytes;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
        bytes.append(chunk, got);
    return bytes;
}

}  // namespace

std::vector<std::string> ReadPathList(std::istream& input)
{
    std::vector<std::string> paths;
    StreamInput bytes(input);
    TextLines lines(bytes);
    std::string line;
    bool complete;
    do {
        complete = lines.Next(line);
        paths.push_back(line.substr(0, line.find('\0')));
    } while (complete);
    return paths;
}

std::vector<std::string> GatherPaths(int argc, char** argv)
{
    if (argc > 1)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::istringstream input(ReadStandardInput());
    return ReadPathList(input);
}
