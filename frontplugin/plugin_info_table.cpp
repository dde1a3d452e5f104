#include "plugin_info_table.h"

#include "build_variant.h"
#include "front_state.h"
#include "module_set.h"

namespace {

// Patterns that match every name would make a host offer this plug-in for every file.
bool MatchesEverything(std::string_view pattern)
{
    return pattern == "*.*" || pattern == "*" || pattern == "*.";
}

void AppendHostPatternList(const PatternList& patterns, CatalogueText& list)
{
    std::size_t size = 0;
    for (const CatalogueText& pattern : patterns)
        size += pattern.size() + 1;
    list.reserve(size);
    for (const CatalogueText& pattern : patterns) {
        if (MatchesEverything(pattern))
            continue;
        if (!list.empty())
            list += ';';
        list += pattern;
    }
}

}  // namespace

PluginInfoTable BuildPluginInfoTable(const ModuleCatalogue& moduleSet, std::string_view version,
                                     std::string_view nameLine, const CatalogueAllocator<char>& allocator)
{
    std::size_t entries = 2;
    for (const PluginModule& record : moduleSet.modules)
        entries += record.version == version ? 2 * record.filters.size() : 0;
    PluginInfoTable table(allocator);
    table.reserve(entries);
    table.emplace_back(version);
    table.emplace_back(nameLine);
    for (const PluginModule& record : moduleSet.modules) {
        if (record.version != version)
            continue;
        for (const FileFilter& filter : record.filters) {
            AppendHostPatternList(filter.patterns, table.emplace_back());
            table.push_back(filter.description);
        }
    }
    return table;
}

const PluginInfoTable& pluginInfoTable()
{
    // The module set first, so it is created before the table and outlives it.
    const ModuleCatalogue& moduleSet = modules();
    PluginInfoState& state = ThePluginInfoState();
    if (!state.table) {
        // In the module set's arena, which outlives the table.
        state.table.emplace(BuildPluginInfoTable(moduleSet, kApiVersion,
                                                 std::string(kPluginName) + "  " + kCopyrightNotice,
                                                 moduleSet.modules.get_allocator()));
    }
    return *state.table;
}
