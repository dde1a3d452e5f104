// Fuzzes the catalogue reader: any bytes in; the records it gives obey the format's
// rules, survive the writer and a second read, and copy into a module catalogue
// whose candidates point into the copy.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>

#include "catalogue_reader.h"
#include "catalogue_writer.h"
#include "fuzz_check.h"
#include "module_catalogue.h"

namespace {

bool HoldsLineBreakZeroOrEnd(std::string_view value)
{
    return value.find_first_of(std::string_view("\n\0\x1a", 3)) != std::string_view::npos;
}

void CheckRules(const PluginModule& module)
{
    FUZZ_CHECK(!module.path.empty(), "record without a path");
    for (const CatalogueText* value : {&module.path, &module.version, &module.name}) {
        FUZZ_CHECK(!HoldsLineBreakZeroOrEnd(*value), "header value holds LF, NUL or Ctrl-Z");
        FUZZ_CHECK(*value != "-----", "header value is the terminator");
    }
    for (const FileFilter& filter : module.filters) {
        FUZZ_CHECK(!filter.description.empty(), "filter without a description");
        FUZZ_CHECK(!HoldsLineBreakZeroOrEnd(filter.description), "description holds LF, NUL or Ctrl-Z");
        FUZZ_CHECK(filter.description != "-----", "description is the terminator");
        for (std::string_view pattern : filter.patterns)
            FUZZ_CHECK(!pattern.empty(), "empty pattern");
    }
}

// The writer cannot represent an empty header value or an empty pattern list (both
// become blank lines, which the reader skips).
bool Representable(const PluginModule& module)
{
    if (module.version.empty() || module.name.empty())
        return false;
    for (const FileFilter& filter : module.filters) {
        if (filter.patterns.empty())
            return false;
    }
    return true;
}

bool SameRecord(const PluginModule& a, const PluginModule& b)
{
    if (a.path != b.path || a.version != b.version || a.name != b.name || a.hasConfig != b.hasConfig ||
        a.filters.size() != b.filters.size())
        return false;
    for (std::size_t i = 0; i < a.filters.size(); ++i) {
        if (a.filters[i].patterns != b.filters[i].patterns || a.filters[i].description != b.filters[i].description)
            return false;
    }
    return true;
}

void CheckRoundTrip(const std::list<PluginModule>& first)
{
    std::list<const PluginModule*> written;
    std::string text;
    for (const PluginModule& module : first) {
        if (Representable(module)) {
            WriteRecord(text, module);
            written.push_back(&module);
        }
    }
    std::istringstream input(text);
    std::list<PluginModule> second = ReadCatalogue(input);
    FUZZ_CHECK(second.size() == written.size(), "written records read back as a different count");
    auto original = written.begin();
    for (const PluginModule& module : second)
        FUZZ_CHECK(SameRecord(module, **original++), "written record reads back different");
}

// Candidates picked by the input's own bytes; the copy's candidates must name the
// same positions in the copy's own list.
void CheckCopy(std::list<PluginModule> modules, const std::string& bytes)
{
    // Read records moved into an arena's catalogue, then copied out to the heap.
    CatalogueArena arena;
    ModuleCatalogue catalogue(arena);
    for (PluginModule& module : modules)
        catalogue.modules.push_back(std::move(module));
    if (!catalogue.modules.empty()) {
        for (std::size_t i = 0; i < bytes.size() && i < 16; ++i) {
            auto position = std::next(catalogue.modules.begin(),
                                      static_cast<unsigned char>(bytes[i]) % catalogue.modules.size());
            catalogue.candidates.push_back(position);
        }
    }
    ModuleCatalogue copy(catalogue);
    FUZZ_CHECK(copy.modules.size() == catalogue.modules.size(), "copy lost modules");
    FUZZ_CHECK(copy.candidates.size() == catalogue.candidates.size(), "copy lost candidates");
    auto theirs = catalogue.candidates.begin();
    for (ModuleCatalogue::ModuleList::iterator mine : copy.candidates) {
        FUZZ_CHECK(std::distance(copy.modules.begin(), mine) ==
                       std::distance(catalogue.modules.begin(), *theirs),
                   "copied candidate names another position");
        FUZZ_CHECK(&*mine != &**theirs, "copied candidate points into the original");
        FUZZ_CHECK(SameRecord(*mine, **theirs), "copied candidate differs");
        ++theirs;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream input(bytes);
    std::list<PluginModule> modules = ReadCatalogue(input);
    for (const PluginModule& module : modules)
        CheckRules(module);
    CheckRoundTrip(modules);
    CheckCopy(std::move(modules), bytes);
    return 0;
}
