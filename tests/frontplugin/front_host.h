#pragma once

// The host's side of the front plug-in tests: a folder laid out as a host installs
// the system, and a front plug-in loaded and called the way a host does it.
#include <string>
#include <utility>
#include <vector>

#include "fake_plugins.h"
#include "plugin_interface.h"
#include "test_files.h"
#include "set_names.h"

// A fresh folder holding copies of BriskImp.spi, BriskArc.spi and (unless left out)
// briskspi.dll, where tests put the catalogue and the fake plug-ins.
class FrontFolder {
public:
    explicit FrontFolder(bool withRegistry = true);

    const std::string& Path() const { return folder_.Path(); }
    std::string operator/(const std::string& name) const { return folder_ / name; }
    std::string Imp() const { return folder_ / BRISK_IMAGE_FRONT; }
    std::string Arc() const { return folder_ / BRISK_ARCHIVE_FRONT; }
    std::string Registry() const { return folder_ / BRISK_REGISTRY_LIBRARY; }

    // Writes briskspi.txt from records made with CatalogueRecord().
    void WriteCatalogue(const std::string& records) const;
    FakePlugin AddFake(const std::string& fileName, const std::string& variant, const std::string& config) const;

private:
    TempFolder folder_;
};

// A record for a fake in `folder`, with one filter per (patterns, description) pair.
std::string FakeRecord(const FakePlugin& fake, const std::string& version,
                       const std::vector<std::pair<std::string, std::string>>& filters);

bool IsLoaded(const std::string& path);

// A front plug-in loaded with LoadLibraryA; its exports looked up by name and
// called through the interface's stdcall types. Freed on destruction.
class LoadedFront {
public:
    explicit LoadedFront(const std::string& path);
    ~LoadedFront();
    LoadedFront(const LoadedFront&) = delete;
    LoadedFront& operator=(const LoadedFront&) = delete;

    void Unload();
    HMODULE Handle() const { return handle_; }

    // GetPluginInfo's text for `infono`, and its result in `*result` when given.
    std::string PluginInfo(int infono, int buflen = 256, int* result = nullptr) const;

    GetPluginInfoFunction* GetPluginInfo = nullptr;
    IsSupportedFunction* IsSupported = nullptr;
    ConfigurationDlgFunction* ConfigurationDlg = nullptr;
    GetPictureInfoFunction* GetPictureInfo = nullptr;
    GetPictureFunction* GetPicture = nullptr;
    GetPreviewFunction* GetPreview = nullptr;
    GetArchiveInfoFunction* GetArchiveInfo = nullptr;
    GetFileInfoFunction* GetFileInfo = nullptr;
    GetFileFunction* GetFile = nullptr;
    GetPluginInfoWFunction* GetPluginInfoW = nullptr;
    IsSupportedWFunction* IsSupportedW = nullptr;
    GetPictureInfoWFunction* GetPictureInfoW = nullptr;
    GetPictureWFunction* GetPictureW = nullptr;
    GetPreviewWFunction* GetPreviewW = nullptr;
    GetArchiveInfoWFunction* GetArchiveInfoW = nullptr;
    GetFileInfoWFunction* GetFileInfoW = nullptr;
    GetFileWFunction* GetFileW = nullptr;

private:
    HMODULE handle_;
};
