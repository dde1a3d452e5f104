#include "plugin_info_table.h"

#include <cstring>

#include "build_variant.h"
#include "front_state.h"
#include "module_set.h"

namespace {

// Patterns that match every name would make a host offer this plug-in for every file.
bool MatchesEverything(std::string_view pattern)
{
    return pattern == "*.*" || pattern == "*" || pattern == "*.";
}

// `text` with a zero byte behind it, in the arena.
const char* Keep(std::string_view text, CatalogueArena& arena)
{
    char* kept = static_cast<char*>(arena.Allocate(text.size() + 1, 1));
    std::memcpy(kept, text.data(), text.size());
    kept[text.size()] = '\0';
    return kept;
}

// The patterns a host is given, joined with ";": the list's own text unless a pattern
// that matches everything has to go.
const char* HostPatternList(const PatternList& patterns, CatalogueArena& arena)
{
    std::size_t dropped = 0;
    for (std::string_view pattern : patterns)
        dropped += MatchesEverything(pattern);
    if (dropped == 0)
        return patterns.JoinedText();
    char* list = static_cast<char*>(arena.Allocate(patterns.Joined().size() + 1, 1));
    char* end = list;
    for (std::string_view pattern : patterns) {
        if (MatchesEverything(pattern))
            continue;
        if (end != list)
            *end++ = ';';
        std::memcpy(end, pattern.data(), pattern.size());
        end += pattern.size();
    }
    *end = '\0';
    return list;
}

}  // namespace

PluginInfoTable BuildPluginInfoTable(const ModuleCatalogue& moduleSet, std::string_view version,
                                     std::string_view nameLine, CatalogueArena& arena)
{
    std::size_t entries = 2;
    for (const PluginModule& record : moduleSet.modules)
        entries += record.version == version ? 2 * record.filters.size() : 0;
    PluginInfoTable table{CatalogueAllocator<const char*>(&arena)};
    table.reserve(entries);
    table.push_back(Keep(version, arena));
    table.push_back(Keep(nameLine, arena));
    for (const PluginModule& record : moduleSet.modules) {
        if (record.version != version)
            continue;
        for (const FileFilter& filter : record.filters) {
            table.push_back(HostPatternList(filter.patterns, arena));
            table.push_back(filter.description.c_str());
        }
    }
    return table;
}

const PluginInfoTable& pluginInfoTable()
{
    // The module set first, so it is created before the table and outlives it.
    const ModuleCatalogue& moduleSet = modules();
    PluginInfoState& state = ThePluginInfoState();
    state.built.Run([&] {
        // The texts are the module set's own, or kept in its arena, which outlives the
        // table.
        state.table.emplace(BuildPluginInfoTable(moduleSet, kApiVersion,
                                                 std::string(kPluginName) + "  " + kCopyrightNotice,
                                                 TheModuleSet().arena));
    });
    return *state.table;
}
