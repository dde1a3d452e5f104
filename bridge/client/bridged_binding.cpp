#include "bridged_binding.h"

#include "bridge_client.h"
#include "bridge_protocol.h"
#include "bridged_plugin.h"
#include "entry_thunks.h"
#include "host_calls.h"

namespace {

// Stands where a loaded library's holder stands: it keeps the thunks alive while any
// copy of the record exists, and tells the helper when the last one goes.
class BridgedLibrary : public SharedHolder<HMODULE> {
public:
    explicit BridgedLibrary(BridgedPlugin plugin) : plugin_(std::move(plugin)), thunks_(&plugin_, bridge::kEntryCount) {}
    ~BridgedLibrary() override
    {
        if (BridgeClientAlive())
            TheBridgeClient().Release(plugin_);
    }
    HMODULE* Get() override { return &noModule_; }
    const EntryThunks& Thunks() const { return thunks_; }
    std::uint32_t ExportMask() const { return plugin_.exportMask; }

private:
    HMODULE noModule_ = nullptr;  // the library lives in the helper
    BridgedPlugin plugin_;
    EntryThunks thunks_;
};

template <class Function>
void Bind(Function*& member, const BridgedLibrary& library, bridge::Entry entry)
{
    member = (library.ExportMask() & (1u << entry))
                 ? reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(library.Thunks().Address(entry)))
                 : nullptr;
}

PluginEntryPoints BridgedEntryPoints(BridgedLibrary* library)
{
    using namespace bridge;
    PluginEntryPoints entryPoints;
    entryPoints.library = SharedRef<HMODULE>(library);
    Bind(entryPoints.GetPluginInfo, *library, kGetPluginInfo);
    Bind(entryPoints.IsSupported, *library, kIsSupported);
    Bind(entryPoints.GetPictureInfo, *library, kGetPictureInfo);
    Bind(entryPoints.GetPicture, *library, kGetPicture);
    Bind(entryPoints.GetPreview, *library, kGetPreview);
    Bind(entryPoints.GetArchiveInfo, *library, kGetArchiveInfo);
    Bind(entryPoints.GetFileInfo, *library, kGetFileInfo);
    Bind(entryPoints.GetFile, *library, kGetFile);
    Bind(entryPoints.ConfigurationDlg, *library, kConfigurationDlg);
    Bind(entryPoints.GetPluginInfoW, *library, kGetPluginInfoW);
    Bind(entryPoints.IsSupportedW, *library, kIsSupportedW);
    Bind(entryPoints.GetPictureInfoW, *library, kGetPictureInfoW);
    Bind(entryPoints.GetPictureW, *library, kGetPictureW);
    Bind(entryPoints.GetPreviewW, *library, kGetPreviewW);
    Bind(entryPoints.GetArchiveInfoW, *library, kGetArchiveInfoW);
    Bind(entryPoints.GetFileInfoW, *library, kGetFileInfoW);
    Bind(entryPoints.GetFileW, *library, kGetFileW);
    return entryPoints;
}

}  // namespace

extern "C" int __cdecl BridgeDispatch(void* context, std::uint32_t entry, const ULONG_PTR* arguments)
{
    return CallBridged(*static_cast<BridgedPlugin*>(context), entry, arguments);
}

int BindBridged(const char* path, SharedRef<PluginEntryPoints>* binding)
{
    if (!path || !binding)
        return kBridgeNotBound;
    try {
        BridgedPlugin plugin;
        plugin.path = path;
        switch (TheBridgeClient().Bind(plugin)) {
        case BindOutcome::kBound:
            break;
        case BindOutcome::kChannelFailed:
            return kBridgeTryLater;
        case BindOutcome::kNotLoadable:
            return kBridgeNotBound;
        }
        auto* library = new BridgedLibrary(std::move(plugin));
        if (!library->Thunks().Ok()) {
            delete library;
            return kBridgeNotBound;
        }
        *binding = SharedRef<PluginEntryPoints>(new LoadedPlugin(BridgedEntryPoints(library)));
        return kBridgeBound;
    } catch (...) {
        return kBridgeTryLater;
    }
}

bool IsBridged(const PluginEntryPoints& entryPoints)
{
    return dynamic_cast<BridgedLibrary*>(entryPoints.library.Target()) != nullptr;
}

void StopBridge()
{
    StopBridgeClient();
}
