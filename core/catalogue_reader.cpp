#include "catalogue_reader.h"

#include <utility>

namespace {

const char kTerminator[] = "-----";

// The next non-blank line into `field`; false, with `field` empty, at the end of the
// record ("-----", the end of the input or a read failure; a last line without a line
// break is dropped). A line is taken as a zero-terminated string, so
// its value ends at its first zero byte and a line that starts with one is blank.
// Returning rather than throwing keeps the exception machinery, whose per-thread state
// a statically linked runtime never gives back when a library is unloaded, out of
// every read.
bool ReadField(TextLines& lines, std::string& field)
{
    for (;;) {
        if (!lines.Next(field)) {
            field.clear();
            return false;
        }
        std::string::size_type zero = field.find('\0');
        if (zero != std::string::npos)
            field.resize(zero);
        if (field.empty())
            continue;
        if (field != kTerminator)
            return true;
        field.clear();
        return false;
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
    std::string flag, patterns;
    if (!ReadField(lines, module.path) || !ReadField(lines, module.version) || !ReadField(lines, module.name) ||
        !ReadField(lines, flag))
        return lines;
    module.hasConfig = flag == "true";
    // A pattern line without its description line makes no filter.
    FileFilter filter;
    while (ReadField(lines, patterns) && ReadField(lines, filter.description)) {
        filter.patterns = ParsePatternList(patterns);
        module.filters.push_back(std::move(filter));
        filter = FileFilter();
    }
    return lines;
}

namespace {

std::list<PluginModule> ReadAllRecords(TextLines& lines)
{
    std::list<PluginModule> modules;
    while (lines.Good()) {
        PluginModule module;
        ReadRecord(lines, module);
        if (!module.path.empty())
            modules.push_back(std::move(module));
    }
    return modules;
}

}  // namespace

std::list<PluginModule> ReadCatalogue(ByteInput& input)
{
    TextLines lines(input);
    return ReadAllRecords(lines);
}
