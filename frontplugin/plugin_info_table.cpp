#include "plugin_info_table.h"

#include "build_variant.h"
#include "front_state.h"
#include "module_set.h"

namespace {

// Patterns that match every name would make a host offer this plug-in for every file.
bool MatchesEverything(const std::string& pattern)
{
    return pattern == "*.*" || pattern == "*" || pattern == "*.";
}

std::string HostPatternList(const std::vector<std::string>& patterns)
{
    std::string list;
    std::size_t size = 0;
    for (const std::string& pattern : patterns)
        size += pattern.size() + 1;
    list.reserve(size);
    for (const std::string& pattern : patterns) {
        if (MatchesEverything(pattern))
            continue;
        if (!list.empty())
            list += ';';
        list += pattern;
    }
    return list;
}

}  // namespace

PluginInfoTable BuildPluginInfoTable(const ModuleCatalogue& moduleSet, const std::string& version,
                                     const std::string& nameLine)
{
    PluginInfoTable table{version, nameLine};
    std::size_t entries = table.size();
    for (const PluginModule& record : moduleSet.modules)
        entries += record.version == version ? 2 * record.filters.size() : 0;
    table.reserve(entries);
    for (const PluginModule& record : moduleSet.modules) {
        if (record.version != version)
            continue;
        for (const FileFilter& filter : record.filters) {
            table.push_back(HostPatternList(filter.patterns));
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
    if (!state.built) {
        state.table = BuildPluginInfoTable(moduleSet, kApiVersion, std::string(kPluginName) + "  " + kCopyrightNotice);
        state.built = true;
    }
    return state.table;
}
