#include "plugin_table.h"

#include "bridge_protocol.h"

namespace {

template <class Function>
bool Exported(Function* function)
{
    return function != nullptr;
}

std::uint32_t ExportMask(const PluginEntryPoints& entryPoints)
{
    const bool exported[bridge::kEntryCount] = {
        Exported(entryPoints.GetPluginInfo),   Exported(entryPoints.IsSupported),
        Exported(entryPoints.GetPictureInfo),  Exported(entryPoints.GetPicture),
        Exported(entryPoints.GetPreview),      Exported(entryPoints.GetArchiveInfo),
        Exported(entryPoints.GetFileInfo),     Exported(entryPoints.GetFile),
        Exported(entryPoints.ConfigurationDlg), Exported(entryPoints.GetPluginInfoW),
        Exported(entryPoints.IsSupportedW),    Exported(entryPoints.GetPictureInfoW),
        Exported(entryPoints.GetPictureW),     Exported(entryPoints.GetPreviewW),
        Exported(entryPoints.GetArchiveInfoW), Exported(entryPoints.GetFileInfoW),
        Exported(entryPoints.GetFileW),
    };
    std::uint32_t mask = 0;
    for (std::uint32_t entry = 0; entry < bridge::kEntryCount; ++entry)
        mask |= exported[entry] ? 1u << entry : 0;
    return mask;
}

}  // namespace

std::uint32_t PluginTable::Load(const std::string& path, std::uint32_t* exportMask)
{
    for (auto& [id, loaded] : loaded_) {
        if (loaded.path == path) {
            ++loaded.holders;
            *exportMask = loaded.exportMask;
            return id;
        }
    }
    SharedRef<PluginEntryPoints> plugin = LoadPlugin(path);
    if (plugin->library.Empty() || !*plugin->library)
        return 0;
    std::uint32_t id = nextId_++;
    Loaded& loaded = loaded_[id];
    loaded.path = path;
    loaded.holders = 1;
    loaded.exportMask = ExportMask(*plugin);
    loaded.plugin = plugin;
    *exportMask = loaded.exportMask;
    return id;
}

void PluginTable::Release(std::uint32_t id)
{
    auto found = loaded_.find(id);
    if (found != loaded_.end() && --found->second.holders == 0)
        loaded_.erase(found);
}

const PluginEntryPoints* PluginTable::Find(std::uint32_t id) const
{
    auto found = loaded_.find(id);
    return found == loaded_.end() ? nullptr : found->second.plugin.Get();
}
