#include "output_file.h"

OutputFile::OutputFile(const std::string& path)
    : path_(path),
      file_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

OutputFile::~OutputFile()
{
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        DeleteFileA(path_.c_str());
    }
}

bool OutputFile::Write(const void* data, std::size_t size)
{
    const auto* from = static_cast<const unsigned char*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file_, from, chunk, &written, nullptr) || written == 0)
            return false;
        from += written;
        size -= written;
    }
    return true;
}

bool OutputFile::Keep()
{
    bool closed = CloseHandle(file_) != 0;
    file_ = INVALID_HANDLE_VALUE;
    return closed;
}
