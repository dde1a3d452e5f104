#include "module_path.h"

#include <shlwapi.h>

#include <vector>

std::string ModuleFileName(HMODULE module)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        // A length of size - 1 or more may be a cut name (behaviour differs between
        // system versions), so only a shorter one is known to be whole.
        if (length < buffer.size() - 1)
            return std::string(buffer.data(), length);
        buffer.assign(buffer.size() * 2, '\0');
    }
}

std::string FolderOf(const std::string& path)
{
    const char* fileName = PathFindFileNameA(path.c_str());
    return path.substr(0, static_cast<std::string::size_type>(fileName - path.c_str()));
}
