#include "plugin_binding.h"

#include <atomic>

#include "library_file_width.h"

namespace {
bool freeingStopped = false;
std::atomic<BridgeBinder*> bridgeBinder{nullptr};
// Handed out for a load left for later; nobody writes to it.
PluginEntryPoints noEntryPoints;
}  // namespace

void SetBridgeBinder(BridgeBinder* binder)
{
    bridgeBinder.store(binder);
}

void StopFreeingLibraries()
{
    freeingStopped = true;
}

PluginLibrary::~PluginLibrary()
{
    if (handle_ && !freeingStopped)
        FreeLibrary(handle_);
}

PluginEntryPoints ResolveEntryPoints(const SharedRef<HMODULE>& library)
{
    PluginEntryPoints entryPoints;
    entryPoints.library = library;
    HMODULE handle = library.Empty() ? nullptr : *library;
    entryPoints.GetPluginInfo = FindExport<GetPluginInfoFunction>(handle, "GetPluginInfo");
    entryPoints.IsSupported = FindExport<IsSupportedFunction>(handle, "IsSupported");
    entryPoints.GetPictureInfo = FindExport<GetPictureInfoFunction>(handle, "GetPictureInfo");
    entryPoints.GetPicture = FindExport<GetPictureFunction>(handle, "GetPicture");
    entryPoints.GetPreview = FindExport<GetPreviewFunction>(handle, "GetPreview");
    entryPoints.GetArchiveInfo = FindExport<GetArchiveInfoFunction>(handle, "GetArchiveInfo");
    entryPoints.GetFileInfo = FindExport<GetFileInfoFunction>(handle, "GetFileInfo");
    entryPoints.GetFile = FindExport<GetFileFunction>(handle, "GetFile");
    entryPoints.ConfigurationDlg = FindExport<ConfigurationDlgFunction>(handle, "ConfigurationDlg");
    entryPoints.GetPluginInfoW = FindExport<GetPluginInfoWFunction>(handle, "GetPluginInfoW");
    entryPoints.IsSupportedW = FindExport<IsSupportedWFunction>(handle, "IsSupportedW");
    entryPoints.GetPictureInfoW = FindExport<GetPictureInfoWFunction>(handle, "GetPictureInfoW");
    entryPoints.GetPictureW = FindExport<GetPictureWFunction>(handle, "GetPictureW");
    entryPoints.GetPreviewW = FindExport<GetPreviewWFunction>(handle, "GetPreviewW");
    entryPoints.GetArchiveInfoW = FindExport<GetArchiveInfoWFunction>(handle, "GetArchiveInfoW");
    entryPoints.GetFileInfoW = FindExport<GetFileInfoWFunction>(handle, "GetFileInfoW");
    entryPoints.GetFileW = FindExport<GetFileWFunction>(handle, "GetFileW");
    return entryPoints;
}

SharedRef<PluginEntryPoints> LoadPlugin(const std::string& path)
{
    HMODULE handle = LoadLibraryA(path.c_str());
    // "Bad format" is also the answer for files that are no library: the header tells.
    BridgeBinder* binder = bridgeBinder.load();
    if (!handle && GetLastError() == ERROR_BAD_EXE_FORMAT && binder &&
        LibraryWidthOfFile(path) == kBridgedLibraryWidth) {
        SharedRef<PluginEntryPoints> bridged;
        const int bound = binder(path.c_str(), &bridged);
        if (bound == kBridgeBound || bound == kBridgeTryLater)
            return bridged;
    }
    SharedRef<HMODULE> library(new PluginLibrary(handle));
    return SharedRef<PluginEntryPoints>(new LoadedPlugin(ResolveEntryPoints(library)));
}

PluginEntryPoints* GetEntryPoints(PluginModule& module)
{
    if (module.binding.Empty())
        module.binding = LoadPlugin(std::string(module.path));
    if (module.binding.Empty())
        return &noEntryPoints;
    return module.binding.Get();
}
