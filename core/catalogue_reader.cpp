#include "catalogue_reader.h"

#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kTerminator = "-----";

// The next non-blank line; false, with `field` empty, at the end of the record
// ("-----", the end of the input or a read failure; a last line without a line break
// is dropped). A line is taken as a zero-terminated string, so its value ends at its
// first zero byte and a line that starts with one is blank.
// Returning rather than throwing keeps the exception machinery, whose per-thread state
// a statically linked runtime never gives back when a library is unloaded, out of
// every read.
bool ReadField(TextLines& lines, std::string_view& field)
{
    for (;;) {
        if (!lines.NextText(field)) {
            field = std::string_view();
            return false;
        }
        if (field.empty())
            continue;
        if (field != kTerminator)
            return true;
        field = std::string_view();
        return false;
    }
}

// Built anew rather than assigned: the field is empty, and assigning takes the string's
// general path for overlapping texts, which costs the reader more than the copy.
void SetText(CatalogueText& field, std::string_view value)
{
    field = CatalogueText(value.data(), value.size(), field.get_allocator());
}

bool ReadField(TextLines& lines, CatalogueText& field)
{
    std::string_view line;
    bool read = ReadField(lines, line);
    SetText(field, line);
    return read;
}

void ReadRecordInto(TextLines& lines, PluginModule& module)
{
    module.path.clear();
    module.version.clear();
    module.name.clear();
    module.filters.clear();
    module.hasConfig = false;
    std::string_view flag;
    if (!ReadField(lines, module.path) || !ReadField(lines, module.version) || !ReadField(lines, module.name) ||
        !ReadField(lines, flag))
        return;
    module.hasConfig = flag == "true";
    // A pattern line without its description line makes no filter.
    std::string_view line;
    while (ReadField(lines, line)) {
        FileFilter& filter = module.filters.emplace_back();
        AppendPatternList(line, filter.patterns);
        if (!ReadField(lines, line)) {
            module.filters.pop_back();
            return;
        }
        SetText(filter.description, line);
    }
}

template <class ModuleList>
void ReadAllRecords(TextLines& lines, ModuleList& modules)
{
    while (lines.Good()) {
        // Read in place in a new list node, so the record's texts are never moved.
        modules.emplace_back();
        try {
            ReadRecordInto(lines, modules.back());
        } catch (...) {
            // Out of memory: what was read so far stays, without a half-read record.
            modules.pop_back();
            throw;
        }
        if (modules.back().path.empty())
            modules.pop_back();
    }
}

}  // namespace

TextLines& ReadRecord(TextLines& lines, PluginModule& module)
{
    ReadRecordInto(lines, module);
    return lines;
}

std::list<PluginModule> ReadCatalogue(ByteInput& input)
{
    TextLines lines(input);
    std::list<PluginModule> modules;
    ReadAllRecords(lines, modules);
    return modules;
}

void ReadCatalogueInto(ByteInput& input, ModuleCatalogue::ModuleList& modules)
{
    TextLines lines(input);
    ReadAllRecords(lines, modules);
}
