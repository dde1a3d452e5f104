#pragma once

// The plug-in calls spihost makes. Each goes through the plug-in's W entry point when
// it exports one, as hosts choose, unless spihost is told --ansi; otherwise through
// the ANSI one, with file names as the code page or the short name writes them.
#include <string>

#include "archive_entry.h"
#include "host_commands.h"

// The plug-in's result and the entry point that gave it ("GetPictureW").
struct CallResult {
    int code;
    std::string call;
};

CallResult CallIsSupported(const PluginFile& plugin, const std::string& path, ULONG_PTR dw);
CallResult CallGetPictureInfo(const PluginFile& plugin, const RequestInput& input, SpiPictureInfo* info);
// GetPicture, or GetPreview with `preview`.
CallResult CallDecode(const PluginFile& plugin, bool preview, const RequestInput& input, HLOCAL* info, HLOCAL* bits,
                      SpiProgressCallback* progress, LONG_PTR data);
// `wideTable` tells which records the table holds.
CallResult CallGetArchiveInfo(const PluginFile& plugin, const RequestInput& input, HLOCAL* table, bool& wideTable);
CallResult CallGetFileInfo(const PluginFile& plugin, const RequestInput& input, const std::string& entryName,
                           ArchiveEntry& entry);
CallResult CallGetFileToFolder(const PluginFile& plugin, const std::string& archive, LONG_PTR position,
                               const std::string& folder, SpiProgressCallback* progress, LONG_PTR data);
CallResult CallGetFileToMemory(const PluginFile& plugin, const std::string& archive, LONG_PTR position,
                               HLOCAL* entry, SpiProgressCallback* progress, LONG_PTR data);

// True when spihost calls `wide` rather than `ansi`; HostFailure (cannot load) when the
// plug-in exports neither.
template <class Ansi, class Wide>
bool ChoosesWide(const PluginFile& plugin, Ansi* ansi, Wide* wide, const char* name)
{
    if (plugin.UsesWide(reinterpret_cast<const void*>(wide)))
        return true;
    plugin.Need(ansi, name);
    return false;
}
