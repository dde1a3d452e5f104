#include "plugin_input.h"

#include <cstring>
#include <string>

#include "file_byte_source.h"

namespace {

// The interface promises this much of the file behind a pointer `dw`.
constexpr std::size_t kSupportHeadSize = 2048;

bool IsFileHandle(ULONG_PTR dw)
{
    return (dw & ~static_cast<ULONG_PTR>(0xFFFF)) == 0;
}

std::size_t ReadFromHandle(HANDLE file, unsigned char* head, std::size_t capacity)
{
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position;
    if (!SetFilePointerEx(file, zero, &position, FILE_CURRENT))
        return 0;
    DWORD got = 0;
    if (!ReadFile(file, head, static_cast<DWORD>(capacity), &got, nullptr))
        got = 0;
    SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    return got;
}

template <class Char>
int OpenInput(const Char* buf, LONG_PTR len, unsigned int flag, std::unique_ptr<ByteSource>& source)
{
    switch (flag & kSpiInputMask) {
    case kSpiInputFile: {
        if (!buf || len < 0)
            return kSpiReadError;
        auto file = std::make_unique<FileByteSource>(std::basic_string<Char>(buf), static_cast<std::uint64_t>(len));
        if (!file->IsOpen())
            return kSpiReadError;
        source = std::move(file);
        return kSpiSuccess;
    }
    case kSpiInputMemory:
        if (!buf || len <= 0)
            return kSpiMemoryError;
        source = std::make_unique<MemoryByteSource>(buf, static_cast<std::size_t>(len));
        return kSpiSuccess;
    default:
        return kSpiNotImplemented;
    }
}

}  // namespace

int OpenPluginInput(LPCSTR buf, LONG_PTR len, unsigned int flag, std::unique_ptr<ByteSource>& source)
{
    return OpenInput(buf, len, flag, source);
}

int OpenPluginInput(LPCWSTR buf, LONG_PTR len, unsigned int flag, std::unique_ptr<ByteSource>& source)
{
    return OpenInput(buf, len, flag, source);
}

std::size_t ReadSupportHead(ULONG_PTR dw, unsigned char* head, std::size_t capacity)
{
    if (capacity > kSupportHeadSize)
        capacity = kSupportHeadSize;
    if (dw == 0)
        return 0;
    if (IsFileHandle(dw))
        return ReadFromHandle(reinterpret_cast<HANDLE>(dw), head, capacity);
    std::memcpy(head, reinterpret_cast<const void*>(dw), capacity);
    return capacity;
}
