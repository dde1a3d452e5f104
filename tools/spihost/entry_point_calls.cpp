#include "entry_point_calls.h"

#include "host_text.h"

namespace {

CallResult Result(int code, const char* name, bool wide)
{
    return {code, std::string(name) + (wide ? "W" : "")};
}

// `buf` of a request as a W or an ANSI entry point takes it; a memory image is the
// same pointer in both.
class RequestName {
public:
    RequestName(const RequestInput& input, bool wide) : input_(input)
    {
        if (input.FromMemory())
            return;
        if (wide)
            wide_ = WideFromUtf8(input.Path());
        else
            ansi_ = AnsiFileName(input.Path());
    }
    LPCWSTR Wide() const { return input_.FromMemory() ? reinterpret_cast<LPCWSTR>(input_.Image()) : wide_.c_str(); }
    LPCSTR Ansi() const { return input_.FromMemory() ? input_.Image() : ansi_.c_str(); }

private:
    const RequestInput& input_;
    std::wstring wide_;
    std::string ansi_;
};

}  // namespace

CallResult CallIsSupported(const PluginFile& plugin, const std::string& path, ULONG_PTR dw)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    if (ChoosesWide(plugin, entry.IsSupported, entry.IsSupportedW, "IsSupported"))
        return Result(entry.IsSupportedW(WideFromUtf8(path).c_str(), dw), "IsSupported", true);
    return Result(entry.IsSupported(AnsiFileName(path).c_str(), dw), "IsSupported", false);
}

CallResult CallGetPictureInfo(const PluginFile& plugin, const RequestInput& input, SpiPictureInfo* info)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    const bool wide = ChoosesWide(plugin, entry.GetPictureInfo, entry.GetPictureInfoW, "GetPictureInfo");
    RequestName name(input, wide);
    int code = wide ? entry.GetPictureInfoW(name.Wide(), input.Length(), input.Flag(), info)
                    : entry.GetPictureInfo(name.Ansi(), input.Length(), input.Flag(), info);
    return Result(code, "GetPictureInfo", wide);
}

CallResult CallDecode(const PluginFile& plugin, bool preview, const RequestInput& input, HLOCAL* info, HLOCAL* bits,
                      SpiProgressCallback* progress, LONG_PTR data)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    const char* call = preview ? "GetPreview" : "GetPicture";
    GetPictureFunction* ansi = preview ? entry.GetPreview : entry.GetPicture;
    GetPictureWFunction* wideCall = preview ? entry.GetPreviewW : entry.GetPictureW;
    const bool wide = ChoosesWide(plugin, ansi, wideCall, call);
    RequestName name(input, wide);
    int code = wide ? wideCall(name.Wide(), input.Length(), input.Flag(), info, bits, progress, data)
                    : ansi(name.Ansi(), input.Length(), input.Flag(), info, bits, progress, data);
    return Result(code, call, wide);
}

CallResult CallGetArchiveInfo(const PluginFile& plugin, const RequestInput& input, HLOCAL* table, bool& wideTable)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    wideTable = ChoosesWide(plugin, entry.GetArchiveInfo, entry.GetArchiveInfoW, "GetArchiveInfo");
    RequestName name(input, wideTable);
    int code = wideTable ? entry.GetArchiveInfoW(name.Wide(), input.Length(), input.Flag(), table)
                         : entry.GetArchiveInfo(name.Ansi(), input.Length(), input.Flag(), table);
    return Result(code, "GetArchiveInfo", wideTable);
}

CallResult CallGetFileInfo(const PluginFile& plugin, const RequestInput& input, const std::string& entryName,
                           ArchiveEntry& entry)
{
    const PluginEntryPoints& points = plugin.EntryPoints();
    const bool wide = ChoosesWide(plugin, points.GetFileInfo, points.GetFileInfoW, "GetFileInfo");
    RequestName name(input, wide);
    int code;
    if (wide) {
        SpiFileInfoW record = {};
        code = points.GetFileInfoW(name.Wide(), input.Length(), WideFromUtf8(entryName).c_str(), input.Flag(), &record);
        if (code == 0)
            entry = EntryOfRecord(record);
    } else {
        SpiFileInfo record = {};
        code = points.GetFileInfo(name.Ansi(), input.Length(), AnsiText(entryName, "entry name").c_str(),
                                  input.Flag(), &record);
        if (code == 0)
            entry = EntryOfRecord(record);
    }
    return Result(code, "GetFileInfo", wide);
}

CallResult CallGetFileToFolder(const PluginFile& plugin, const std::string& archive, LONG_PTR position,
                               const std::string& folder, SpiProgressCallback* progress, LONG_PTR data)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    const unsigned int flag = kSpiInputFile | kSpiOutputFile;
    // The plug-in may write into `dest`, so it gets a copy of its own.
    if (ChoosesWide(plugin, entry.GetFile, entry.GetFileW, "GetFile")) {
        std::wstring destination = WideFromUtf8(folder);
        return Result(entry.GetFileW(WideFromUtf8(archive).c_str(), position, &destination[0], flag, progress, data),
                      "GetFile", true);
    }
    std::string destination = AnsiFileName(folder);
    return Result(entry.GetFile(AnsiFileName(archive).c_str(), position, &destination[0], flag, progress, data),
                  "GetFile", false);
}

CallResult CallGetFileToMemory(const PluginFile& plugin, const std::string& archive, LONG_PTR position,
                               HLOCAL* entryBlock, SpiProgressCallback* progress, LONG_PTR data)
{
    const PluginEntryPoints& entry = plugin.EntryPoints();
    const unsigned int flag = kSpiInputFile | kSpiOutputMemory;
    if (ChoosesWide(plugin, entry.GetFile, entry.GetFileW, "GetFile"))
        return Result(entry.GetFileW(WideFromUtf8(archive).c_str(), position, reinterpret_cast<LPWSTR>(entryBlock),
                                     flag, progress, data),
                      "GetFile", true);
    return Result(entry.GetFile(AnsiFileName(archive).c_str(), position, reinterpret_cast<LPSTR>(entryBlock), flag,
                                progress, data),
                  "GetFile", false);
}
