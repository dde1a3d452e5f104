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

namespace {

// The lines of a record that are not kept as they are. Reused from record to record:
// each allocation counts when a catalogue holds thousands of records.
struct RecordScratch {
    std::string flag;
    std::string patterns;
};

void ReadRecordInto(TextLines& lines, PluginModule& module, RecordScratch& scratch)
{
    module.path.clear();
    module.version.clear();
    module.name.clear();
    module.filters.clear();
    module.hasConfig = false;
    if (!ReadField(lines, module.path) || !ReadField(lines, module.version) || !ReadField(lines, module.name) ||
        !ReadField(lines, scratch.flag))
        return;
    module.hasConfig = scratch.flag == "true";
    // A pattern line without its description line makes no filter.
    FileFilter filter;
    while (ReadField(lines, scratch.patterns) && ReadField(lines, filter.description)) {
        filter.patterns = ParsePatternList(scratch.patterns);
        module.filters.push_back(std::move(filter));
        filter = FileFilter();
    }
}

std::list<PluginModule> ReadAllRecords(TextLines& lines)
{
    std::list<PluginModule> modules;
    RecordScratch scratch;
    while (lines.Good()) {
        // Read in place in a new list node, so the record's texts are never moved.
        modules.emplace_back();
        try {
            ReadRecordInto(lines, modules.back(), scratch);
        } catch (...) {
            // Out of memory: what was read so far stays, without a half-read record.
            modules.pop_back();
            throw;
        }
        if (modules.back().path.empty())
            modules.pop_back();
    }
    return modules;
}

}  // namespace

TextLines& ReadRecord(TextLines& lines, PluginModule& module)
{
    RecordScratch scratch;
    ReadRecordInto(lines, module, scratch);
    return lines;
}

std::list<PluginModule> ReadCatalogue(ByteInput& input)
{
    TextLines lines(input);
    return ReadAllRecords(lines);
}
