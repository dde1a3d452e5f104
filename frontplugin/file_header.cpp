#include "file_header.h"

#include "owned_handle.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<FileHeader> ReadHeader(const OwnedHandle& file)
{
    if (file.Get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    // Reading a pipe or a device takes bytes its reader needs, or waits for ever.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return std::nullopt;
    FileHeader header;
    DWORD filled = 0;
    // A read can stop short of the end (some network file systems); only 0 ends it.
    while (filled < FileHeader::kSize) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), header.bytes + filled, FileHeader::kSize - filled, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    return header;
}

}  // namespace

std::optional<FileHeader> ReadFileHeader(LPCSTR path)
{
    return ReadHeader(
        OwnedHandle(CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

std::optional<FileHeader> ReadFileHeader(LPCWSTR path)
{
    return ReadHeader(
        OwnedHandle(CreateFileW(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}
