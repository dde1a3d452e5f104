#include "catalogue_reader.h"

#include <utility>

namespace {

const char kTerminator[] = "-----";

// The next non-blank line. A line is taken as a zero-terminated string, so its value
// ends at its first zero byte and a line that starts with one is blank.
std::string ReadField(TextLines& lines)
{
    std::string line;
    for (;;) {
        if (!lines.Next(line))
            throw ESeparate();
        std::string::size_type zero = line.find('\0');
        if (zero != std::string::npos)
            line.resize(zero);
        if (line.empty())
            continue;
        if (line == kTerminator)
            throw ESeparate();
        return line;
    }
}

}  // namespace

TextLines& ReadRecord(TextLines& lines, PluginModule& module)
{
    module.path.clear();
    module.version.clear();
    module.name.clear();
    module.filters.clear();
    module.hasConfig = false;
    try {
        module.path = ReadField(lines);
        module.version = ReadField(lines);
        module.name = ReadField(lines);
        module.hasConfig = ReadField(lines) == "true";
        for (;;) {
            FileFilter filter;
            filter.patterns = ParsePatternList(ReadField(lines));
            filter.description = ReadField(lines);
            module.filters.push_back(std::move(filter));
        }
    } catch (const ESeparate&) {
        // The record is complete with what was read.
    }
    return lines;
}

std::list<PluginModule> ReadCatalogue(std::istream& input)
{
    std::list<PluginModule> modules;
    TextLines lines(input);
    while (lines.Good()) {
        PluginModule module;
        ReadRecord(lines, module);
        if (!module.path.empty())
            modules.push_back(std::move(module));
    }
    return modules;
}
