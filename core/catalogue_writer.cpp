#include "catalogue_writer.h"

#include <string_view>

namespace {

const char kTerminator[] = "-----";

void WriteLine(std::string& out, std::string_view text)
{
    for (char byte : text)
        out.push_back(byte == '\n' ? ' ' : byte);
    out += "\r\n";
}

}  // namespace

void WriteRecord(std::string& out, const PluginModule& module)
{
    WriteLine(out, module.path);
    WriteLine(out, module.version);
    WriteLine(out, module.name);
    WriteLine(out, module.hasConfig ? "true" : "false");
    for (const FileFilter& filter : module.filters) {
        std::string patterns = JoinPatternList(filter.patterns);
        // A lone "-----" pattern would read back as the end of the record; with the
        // separator behind it, it reads back as the same one pattern.
        if (patterns == kTerminator)
            patterns += ';';
        WriteLine(out, patterns);
        WriteLine(out, filter.description);
    }
    WriteLine(out, kTerminator);
}
