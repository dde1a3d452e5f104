#include "catalogue_writer.h"

namespace {

void WriteLine(std::string& out, const std::string& text)
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
        WriteLine(out, JoinPatternList(filter.patterns));
        WriteLine(out, filter.description);
    }
    WriteLine(out, "-----");
}
