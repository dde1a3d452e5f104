#include "bench_stage.h"

#include <stdexcept>

#include "bench_files.h"
#include "bmp_writer.h"
#include "catalogue_writer.h"
#include "noop_naming.h"
#include "plugin_binding.h"
#include "set_names.h"

std::string BuiltFile(const std::string& name)
{
    return ProgramFolder() + "\\" + name;
}

void StageFrontPlugin(const std::string& folder, const std::string& from)
{
    for (const char* name : {BRISK_IMAGE_FRONT, BRISK_REGISTRY_LIBRARY})
        CopyOneFile(from.empty() ? BuiltFile(name) : from + "\\" + name, folder + "\\" + name);
}

void WriteCatalogue(const std::string& folder, const std::vector<PluginModule>& records)
{
    std::string text;
    for (const PluginModule& record : records)
        WriteRecord(text, record);
    WriteWholeFile(folder + "\\" BRISK_DEFAULT_CATALOGUE, text);
}

PluginModule NoopRecord(const std::string& path)
{
    std::string stem = NoopStem(path);
    PluginModule record;
    record.path = path;
    record.version = "00IN";
    record.name = "No-op benchmark plug-in " + stem;
    FileFilter filter;
    filter.patterns = ParsePatternList(NoopPatternList(stem));
    filter.description = NoopDescription(stem);
    record.filters.push_back(filter);
    return record;
}

PluginModule QueriedRecord(const std::string& path)
{
    SharedRef<PluginEntryPoints> plugin = LoadPlugin(path);
    GetPluginInfoFunction* getPluginInfo = plugin->GetPluginInfo;
    if (!getPluginInfo)
        throw std::runtime_error("not a plug-in: " + path);
    auto info = [&](int number, auto& text) {
        char buffer[1024] = {};
        if (getPluginInfo(number, buffer, sizeof buffer) == 0)
            return false;
        text = buffer;
        return true;
    };
    PluginModule record;
    record.path = path;
    if (!info(0, record.version) || !info(1, record.name))
        throw std::runtime_error("no plug-in information from " + path);
    record.hasConfig = plugin->ConfigurationDlg != nullptr;
    for (int number = 2;; number += 2) {
        std::string patterns;
        FileFilter filter;
        if (!info(number, patterns) || !info(number + 1, filter.description))
            break;
        filter.patterns = ParsePatternList(patterns);
        record.filters.push_back(filter);
    }
    return record;
}

std::vector<std::string> StageNoopCopies(const std::string& folder, const std::vector<int>& indexes)
{
    std::vector<std::string> paths;
    for (int index : indexes) {
        paths.push_back(folder + "\\" + NoopCopyName(index));
        CopyOneFile(BuiltFile("noop" BRISK_PLUGIN_EXTENSION), paths.back());
    }
    return paths;
}

void WritePicture(const std::string& path, int width, int height)
{
    WriteWholeFile(path, WriteBmp(PatternImage(width, height, 24, false)));
}
