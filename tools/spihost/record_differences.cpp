#include "record_differences.h"

#include <sstream>

#include "catalogue_reader.h"
#include "catalogue_writer.h"

namespace {

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string Change(const std::string& what, const std::string& before, const std::string& now)
{
    return what + " " + before + " in the catalogue, " + now + " now";
}

}  // namespace

PluginModule AsCatalogued(const PluginModule& now)
{
    std::string text;
    WriteRecord(text, now);
    std::istringstream input(text);
    std::list<PluginModule> read = ReadCatalogue(input);
    return read.empty() ? PluginModule() : read.front();
}

std::vector<std::string> RecordDifferences(const PluginModule& catalogued, const PluginModule& now)
{
    std::vector<std::string> differences;
    if (catalogued.version != now.version)
        differences.push_back(Change("version", Quoted(catalogued.version), Quoted(now.version)));
    if (catalogued.name != now.name)
        differences.push_back(Change("name", Quoted(catalogued.name), Quoted(now.name)));
    if (catalogued.hasConfig != now.hasConfig)
        differences.push_back(Change("flag", catalogued.hasConfig ? "true" : "false", now.hasConfig ? "true" : "false"));
    if (catalogued.filters.size() != now.filters.size())
        differences.push_back(Change("filters:", std::to_string(catalogued.filters.size()),
                                     std::to_string(now.filters.size())));
    for (std::size_t i = 0; i < catalogued.filters.size() && i < now.filters.size(); ++i) {
        const FileFilter& before = catalogued.filters[i];
        const FileFilter& after = now.filters[i];
        std::string filter = "filter " + std::to_string(i + 1);
        if (before.patterns != after.patterns)
            differences.push_back(Change(filter + " patterns", Quoted(JoinPatternList(before.patterns)),
                                         Quoted(JoinPatternList(after.patterns))));
        if (before.description != after.description)
            differences.push_back(
                Change(filter + " description", Quoted(before.description), Quoted(after.description)));
    }
    return differences;
}
