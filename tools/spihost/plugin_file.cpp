#include "plugin_file.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "host_files.h"
#include "set_names.h"
#include "bridged_plugin_file.h"
#include "code_page_text.h"
#include "host_text.h"

namespace {

// A plug-in that answers every number would never end the list.
constexpr int kMostInformationNumbers = 200;

// One text of the information table, in UTF-8. Some plug-ins leave a cut text
// unterminated, so the buffer's last unit is made zero.
std::string Information(const PluginEntryPoints& entryPoints, bool wide, int number, bool& answered)
{
    if (wide) {
        std::vector<wchar_t> buffer(4096, L'\0');
        answered = entryPoints.GetPluginInfoW(number, buffer.data(), static_cast<int>(buffer.size())) != 0;
        buffer.back() = L'\0';
        return answered ? Utf8FromWide(buffer.data()) : std::string();
    }
    std::vector<char> buffer(4096, '\0');
    answered = entryPoints.GetPluginInfo(number, buffer.data(), static_cast<int>(buffer.size())) != 0;
    buffer.back() = '\0';
    return answered ? Utf8FromAnsi(buffer.data()) : std::string();
}

}  // namespace

std::string ExplainLoadFailure(const std::string& path, DWORD error)
{
    if (FolderExists(path))
        return "it is a folder, not a plug-in file";
    // The loader says "module not found" both for the file and for a library it imports.
    bool fileMissing = IsAbsolutePath(path) && !FileExists(path);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "no such file";
    case ERROR_BAD_EXE_FORMAT:
        return "not a Windows library this " + std::to_string(8 * sizeof(void*)) +
               "-bit program can load: not a DLL at all, or one built for another processor " +
               (sizeof(void*) == 8 ? "(32-bit .spi plug-ins need a 32-bit host: try spihost)"
                                   : "(64-bit .sph plug-ins need a 64-bit host: try spihost64)");
    case ERROR_MOD_NOT_FOUND:
        if (fileMissing)
            return "no such file";
        if (!IsAbsolutePath(path))
            return "not found along the library search path, or a library it needs is missing (" +
                   SystemMessage(error) + ")";
        return "a library it needs is missing (" + SystemMessage(error) + ")";
    case ERROR_PROC_NOT_FOUND:
        return "a library it needs lacks a function it imports (" + SystemMessage(error) + ")";
    case ERROR_DLL_INIT_FAILED:
        return "its start-up code refused to load (" + SystemMessage(error) + ")";
    default:
        return SystemMessage(error);
    }
}

PluginFile::PluginFile(const std::string& path, bool ansiOnly) : path_(FullPath(path)), ansiOnly_(ansiOnly)
{
    if (!FileExists(path_))
        throw HostFailure{kHostCannotLoad, "cannot load plug-in " + path_ + ": " + ExplainLoadFailure(path_, ERROR_FILE_NOT_FOUND)};
    // Error boxes of the loader would stop an unattended run.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryW(WideFromUtf8(path_).c_str());
    DWORD error = GetLastError();
    SetErrorMode(oldMode);
    bool bound = library != nullptr;
    if (library)
        entryPoints_ = ResolveEntryPoints(SharedRef<HMODULE>(new PluginLibrary(library)));
    // The helper loads plug-ins by their ANSI names, as the catalogue gives them.
    std::optional<std::string> ansiPath = bound ? std::nullopt : AnsiNameOfFile(WideFromUtf8(path_));
    if (!bound && error == ERROR_BAD_EXE_FORMAT && ansiPath && BindThroughBridge(*ansiPath, entryPoints_)) {
        bound = true;
        std::printf("bridged: a " BRISK_BRIDGED_WIDTH " plug-in, served by " BRISK_BRIDGE_PROGRAM "\n");
    }
    if (!bound)
        throw HostFailure{kHostCannotLoad, "cannot load plug-in " + path_ + ": " + ExplainLoadFailure(path_, error)};
    if (!entryPoints_.GetPluginInfo)
        throw HostFailure{kHostCannotLoad, "cannot use " + path_ + ": it loads, but exports no GetPluginInfo, so it "
                                           "is not a Susie plug-in (or exports decorated names such as "
                                           "GetPluginInfo@12)"};
    const bool wide = UsesWide(reinterpret_cast<const void*>(entryPoints_.GetPluginInfoW));
    bool answered = false;
    version_ = Information(entryPoints_, wide, 0, answered);
    name_ = Information(entryPoints_, wide, 1, answered);
    for (int number = 2; number < kMostInformationNumbers; number += 2) {
        std::string patterns = Information(entryPoints_, wide, number, answered);
        if (!answered)
            break;
        std::string description = Information(entryPoints_, wide, number + 1, answered);
        filters_.emplace_back(patterns, description);
        if (!answered)
            break;
    }
}

std::string PluginFile::Label() const
{
    std::string::size_type cut = path_.find_last_of("\\/");
    return cut == std::string::npos ? path_ : path_.substr(cut + 1);
}

bool PluginFile::IsImageFilter() const
{
    return version_.size() == 4 && version_.compare(2, 2, "IN") == 0;
}

bool PluginFile::IsArchiveExtractor() const
{
    return version_.size() == 4 && version_.compare(2, 2, "AM") == 0;
}

std::string PluginFile::KindText() const
{
    if (IsImageFilter())
        return "image import filter";
    if (IsArchiveExtractor())
        return "archive extractor";
    return "unknown kind";
}
