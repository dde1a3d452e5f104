#include "front_host.h"

#include <stdexcept>

#include "plugin_binding.h"
#include "set_names.h"

FrontFolder::FrontFolder(bool withRegistry)
{
    CopyFixture(BRISK_IMAGE_FRONT, Imp());
    CopyFixture(BRISK_ARCHIVE_FRONT, Arc());
    if (withRegistry)
        CopyFixture(BRISK_REGISTRY_LIBRARY, Registry());
}

void FrontFolder::WriteCatalogue(const std::string& records) const
{
    WriteFileBytes(folder_ / BRISK_DEFAULT_CATALOGUE, records);
}

FakePlugin FrontFolder::AddFake(const std::string& fileName, const std::string& variant,
                                const std::string& config) const
{
    return FakePlugin(Path(), fileName, variant, config);
}

std::string FakeRecord(const FakePlugin& fake, const std::string& version,
                       const std::vector<std::pair<std::string, std::string>>& filters)
{
    return CatalogueRecord(fake.Path(), version, "Fake " + fake.Path(), false, filters);
}

bool IsLoaded(const std::string& path)
{
    return GetModuleHandleA(path.c_str()) != nullptr;
}

LoadedFront::LoadedFront(const std::string& path) : handle_(LoadLibraryA(path.c_str()))
{
    if (!handle_)
        throw std::runtime_error("cannot load " + path);
    GetPluginInfo = FindExport<GetPluginInfoFunction>(handle_, "GetPluginInfo");
    IsSupported = FindExport<IsSupportedFunction>(handle_, "IsSupported");
    ConfigurationDlg = FindExport<ConfigurationDlgFunction>(handle_, "ConfigurationDlg");
    GetPictureInfo = FindExport<GetPictureInfoFunction>(handle_, "GetPictureInfo");
    GetPicture = FindExport<GetPictureFunction>(handle_, "GetPicture");
    GetPreview = FindExport<GetPreviewFunction>(handle_, "GetPreview");
    GetArchiveInfo = FindExport<GetArchiveInfoFunction>(handle_, "GetArchiveInfo");
    GetFileInfo = FindExport<GetFileInfoFunction>(handle_, "GetFileInfo");
    GetFile = FindExport<GetFileFunction>(handle_, "GetFile");
    GetPluginInfoW = FindExport<GetPluginInfoWFunction>(handle_, "GetPluginInfoW");
    IsSupportedW = FindExport<IsSupportedWFunction>(handle_, "IsSupportedW");
    GetPictureInfoW = FindExport<GetPictureInfoWFunction>(handle_, "GetPictureInfoW");
    GetPictureW = FindExport<GetPictureWFunction>(handle_, "GetPictureW");
    GetPreviewW = FindExport<GetPreviewWFunction>(handle_, "GetPreviewW");
    GetArchiveInfoW = FindExport<GetArchiveInfoWFunction>(handle_, "GetArchiveInfoW");
    GetFileInfoW = FindExport<GetFileInfoWFunction>(handle_, "GetFileInfoW");
    GetFileW = FindExport<GetFileWFunction>(handle_, "GetFileW");
}

LoadedFront::~LoadedFront()
{
    Unload();
}

void LoadedFront::Unload()
{
    if (handle_)
        FreeLibrary(handle_);
    handle_ = nullptr;
}

std::string LoadedFront::PluginInfo(int infono, int buflen, int* result) const
{
    std::string buffer(buflen > 0 ? buflen : 1, '\0');
    int answer = GetPluginInfo(infono, &buffer[0], buflen);
    if (result)
        *result = answer;
    return buffer.c_str();
}
