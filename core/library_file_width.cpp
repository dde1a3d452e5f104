#include "library_file_width.h"

#include <windows.h>

#include "owned_handle.h"

LibraryWidth LibraryWidthOfFile(const std::string& path)
{
    OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return LibraryWidth::kNotALibrary;
    unsigned char bytes[4096];
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes, sizeof bytes, &got, nullptr))
        return LibraryWidth::kNotALibrary;
    return LibraryWidthOf(bytes, got);
}
