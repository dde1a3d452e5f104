#include "host_commands.h"

#include <cstdio>

#include "catalogue_report.h"
#include "entry_point_calls.h"
#include "host_failure.h"
#include "host_files.h"
#include "result_meaning.h"

RequestInput::RequestInput(const std::string& path, bool fromMemory) : path_(path), fromMemory_(fromMemory)
{
    if (fromMemory_)
        image_ = ReadWholeFile(path_);
}

void PrintPlugin(const PluginFile& plugin)
{
    std::printf("plug-in   %s\n          %s %s \"%s\"\n", plugin.Path().c_str(), plugin.Version().c_str(),
                plugin.KindText().c_str(), plugin.Name().c_str());
}

void PrintInputFile(const std::string& path)
{
    if (!FileExists(path))
        throw HostFailure{kHostFileError, "cannot open " + path + ": " +
                                              (FolderExists(path) ? "it is a folder" : "no such file")};
    std::printf("file      %s (%llu bytes)\n", path.c_str(), static_cast<unsigned long long>(FileSize(path)));
}

std::string AskSupport(const PluginFile& plugin, const std::string& path, const HostOptions& options)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    ChoosesWide(plugin, entry.IsSupported, entry.IsSupportedW, "IsSupported");
    SupportProbe probe(path, options.byHandle);
    CallResult asked = CallIsSupported(plugin, path, probe.Argument());
    int answer = asked.code;
    std::printf("%s, given %s: %s (answer %d)\n", asked.call.c_str(), probe.KindText(), answer ? "yes" : "no", answer);
    std::string forwardedTo = ReportCatalogue(plugin, path, probe);
    if (!answer)
        throw HostFailure{kHostNotAccepted, plugin.Label() + " does not accept " + path + " (IsSupported said no)"};
    if (forwardedTo.empty())
        return "served by " + plugin.Label();
    return "served by " + plugin.Label() + ", forwarding to: " + forwardedTo;
}

void RequireSuccess(const PluginFile& plugin, const char* call, int code, const std::string& path)
{
    if (code != 0)
        throw HostFailure{kHostPluginError,
                          plugin.Label() + " could not read " + path + ": " + call + " returned " + DescribeResult(code)};
}

int WINAPI CountProgress(int, int, LONG_PTR counter)
{
    ++*reinterpret_cast<int*>(counter);
    return 0;
}

void RunHostCommand(const HostOptions& options)
{
    if (options.toMemory && options.command != "extract")
        throw HostFailure{kHostUsage, "--to-memory applies to extract only"};
    if (options.fromMemory &&
        (options.command == "extract" || options.command == "plugin" || options.command == "check"))
        throw HostFailure{kHostUsage, "--from-memory applies to info, picture and list only"};
    if (options.preview && options.command != "picture")
        throw HostFailure{kHostUsage, "--preview applies to picture only"};
    if (options.command == "plugin")
        RunPluginCommand(options);
    else if (options.command == "info")
        RunInfoCommand(options);
    else if (options.command == "picture")
        RunPictureCommand(options);
    else if (options.command == "list")
        RunListCommand(options);
    else if (options.command == "check")
        RunCheckCommand(options);
    else
        RunExtractCommand(options);
}

std::unique_ptr<PluginFile> OpenPlugin(const HostOptions& options)
{
    return std::make_unique<PluginFile>(options.operands[0], options.ansiOnly);
}

void RunInfoCommand(const HostOptions& options)
{
    std::unique_ptr<PluginFile> opened = OpenPlugin(options);
    const PluginFile& plugin = *opened;
    PrintPlugin(plugin);
    std::string path = FullPath(options.operands[1]);
    PrintInputFile(path);
    if (!plugin.IsImageFilter() && !plugin.IsArchiveExtractor())
        throw HostFailure{kHostCannotLoad, plugin.Label() + " reports version \"" + plugin.Version() +
                                               "\", neither an image filter (..IN) nor an archive extractor (..AM)"};
    std::string servedBy = AskSupport(plugin, path, options);
    RequestInput input(path, options.fromMemory);
    if (plugin.IsImageFilter())
        PrintPictureInfo(plugin, input, path);
    else
        PrintArchiveList(plugin, input, path);
    std::printf("%s\n", servedBy.c_str());
}

void RunPluginCommand(const HostOptions& options)
{
    std::unique_ptr<PluginFile> opened = OpenPlugin(options);
    const PluginFile& plugin = *opened;
    PrintPlugin(plugin);
    for (std::size_t i = 0; i < plugin.Filters().size(); ++i)
        std::printf("filter %u  %s  \"%s\"\n", static_cast<unsigned>(i + 1), plugin.Filters()[i].first.c_str(),
                    plugin.Filters()[i].second.c_str());
    const PluginEntryPoints& entry = plugin.EntryPoints();
    const std::pair<const char*, bool> exports[] = {
        {"GetPluginInfo", entry.GetPluginInfo != nullptr},   {"IsSupported", entry.IsSupported != nullptr},
        {"GetPictureInfo", entry.GetPictureInfo != nullptr}, {"GetPicture", entry.GetPicture != nullptr},
        {"GetPreview", entry.GetPreview != nullptr},         {"GetArchiveInfo", entry.GetArchiveInfo != nullptr},
        {"GetFileInfo", entry.GetFileInfo != nullptr},       {"GetFile", entry.GetFile != nullptr},
        {"ConfigurationDlg", entry.ConfigurationDlg != nullptr},
    };
    const std::pair<const char*, bool> wideExports[] = {
        {"GetPluginInfoW", entry.GetPluginInfoW != nullptr},   {"IsSupportedW", entry.IsSupportedW != nullptr},
        {"GetPictureInfoW", entry.GetPictureInfoW != nullptr}, {"GetPictureW", entry.GetPictureW != nullptr},
        {"GetPreviewW", entry.GetPreviewW != nullptr},         {"GetArchiveInfoW", entry.GetArchiveInfoW != nullptr},
        {"GetFileInfoW", entry.GetFileInfoW != nullptr},       {"GetFileW", entry.GetFileW != nullptr},
    };
    std::string present, missing, wide;
    for (const auto& item : exports)
        (item.second ? present : missing) += std::string(" ") + item.first;
    for (const auto& item : wideExports)
        wide += item.second ? std::string(" ") + item.first : std::string();
    std::printf("exports  %s\n", present.c_str());
    if (!missing.empty())
        std::printf("lacks    %s\n", missing.c_str());
    if (wide.empty())
        std::printf("W exports none: hosts give it names as the ANSI code page writes them\n");
    else
        std::printf("W exports%s%s\n", wide.c_str(),
                    options.ansiOnly ? " (not called: --ansi)" : "");
}
