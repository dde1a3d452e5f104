#include "file_byte_source.h"

FileByteSource::FileByteSource(const std::string& path, std::uint64_t start)
    : FileByteSource(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr),
                     start)
{
}

FileByteSource::FileByteSource(const std::wstring& path, std::uint64_t start)
    : FileByteSource(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr),
                     start)
{
}

FileByteSource::FileByteSource(HANDLE file, std::uint64_t start) : file_(file), start_(start)
{
    LARGE_INTEGER fileSize;
    if (file_ == INVALID_HANDLE_VALUE)
        return;
    if (!GetFileSizeEx(file_, &fileSize) || static_cast<std::uint64_t>(fileSize.QuadPart) < start) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return;
    }
    size_ = static_cast<std::uint64_t>(fileSize.QuadPart) - start;
}

FileByteSource::~FileByteSource()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

bool FileByteSource::Read(std::uint64_t offset, void* into, std::size_t count)
{
    if (!IsOpen() || offset > size_ || count > size_ - offset)
        return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(start_ + offset);
    if (!SetFilePointerEx(file_, position, nullptr, FILE_BEGIN))
        return false;
    auto* target = static_cast<unsigned char*>(into);
    while (count > 0) {
        DWORD chunk = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
        DWORD got = 0;
        if (!ReadFile(file_, target, chunk, &got, nullptr) || got == 0)
            return false;
        target += got;
        count -= got;
    }
    return true;
}
