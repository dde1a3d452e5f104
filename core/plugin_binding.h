#pragma once

// The binding of catalogued plug-ins: load on demand, the nine entry points, and
// FreeLibrary when the last holder goes.
#include <string>

#include "plugin_interface.h"
#include "plugin_module.h"
#include "shared_ref.h"

// Holds one loaded library (null when the load failed) and frees it on destruction.
class PluginLibrary : public SharedHolder<HMODULE> {
public:
    explicit PluginLibrary(HMODULE handle) : handle_(handle) {}
    ~PluginLibrary() override;
    HMODULE* Get() override { return &handle_; }

private:
    HMODULE handle_;
};

// The entry points of one loaded plug-in, each null when not exported: the nine ANSI
// ones, then the W ones. Every copy keeps the library loaded. Records cross between
// deliverables, so members are only ever added at the end.
struct PluginEntryPoints {
    SharedRef<HMODULE> library;
    GetPluginInfoFunction* GetPluginInfo = nullptr;
    IsSupportedFunction* IsSupported = nullptr;
    GetPictureInfoFunction* GetPictureInfo = nullptr;
    GetPictureFunction* GetPicture = nullptr;
    GetPreviewFunction* GetPreview = nullptr;
    GetArchiveInfoFunction* GetArchiveInfo = nullptr;
    GetFileInfoFunction* GetFileInfo = nullptr;
    GetFileFunction* GetFile = nullptr;
    ConfigurationDlgFunction* ConfigurationDlg = nullptr;
    GetPluginInfoWFunction* GetPluginInfoW = nullptr;
    IsSupportedWFunction* IsSupportedW = nullptr;
    GetPictureInfoWFunction* GetPictureInfoW = nullptr;
    GetPictureWFunction* GetPictureW = nullptr;
    GetPreviewWFunction* GetPreviewW = nullptr;
    GetArchiveInfoWFunction* GetArchiveInfoW = nullptr;
    GetFileInfoWFunction* GetFileInfoW = nullptr;
    GetFileWFunction* GetFileW = nullptr;
};

using LoadedPlugin = ValueHolder<PluginEntryPoints>;

// Looks up the entry points in the referenced library; all null when its handle is
// null.
PluginEntryPoints ResolveEntryPoints(const SharedRef<HMODULE>& library);

// Loads the library at `path` exactly as given and resolves it. The result is the
// library's only holder. It is empty, not a failed load, when the plug-in is one for
// the helper and the helper's channel failed just now: a later call tries again.
SharedRef<PluginEntryPoints> LoadPlugin(const std::string& path);

// The module's entry points, loading its library on the first call. A failed load
// is remembered: the module stays bound with null entry points and is not retried.
// The address stays valid while the module keeps its binding. A load that LoadPlugin
// left for later gives null entry points and leaves the module unbound.
PluginEntryPoints* GetEntryPoints(PluginModule& module);

// What a bridge binder answers.
enum BridgeBindResult : int {
    kBridgeTryLater = -1,  // the helper's channel failed; nothing is known of the plug-in
    kBridgeNotBound = 0,   // no helper can run, or the plug-in does not load in it
    kBridgeBound = 1,
};

// Binds a 32-bit plug-in that this 64-bit process cannot load, through the helper
// process: fills `*binding` and returns kBridgeBound, or one of the other results.
// Each deliverable's copy of the binding asks the one binder registered with it.
using BridgeBinder = int(const char* path, SharedRef<PluginEntryPoints>* binding);
void SetBridgeBinder(BridgeBinder* binder);

// At process exit other libraries may already be gone; after this call no
// PluginLibrary of this module frees its library any more.
void StopFreeingLibraries();

// Looks up an export by name and types it.
template <class Function>
Function* FindExport(HMODULE library, const char* name)
{
    if (!library)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
