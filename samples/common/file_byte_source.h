#pragma once

#include <windows.h>

#include <string>

#include "byte_source.h"

// The bytes of a file from `start` on, read through an open handle.
class FileByteSource : public ByteSource {
public:
    FileByteSource(const std::string& path, std::uint64_t start);
    FileByteSource(const std::wstring& path, std::uint64_t start);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // False when the file could not be opened or ends before `start`.
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, void* into, std::size_t count) override;

private:
    FileByteSource(HANDLE file, std::uint64_t start);

    HANDLE file_;
    std::uint64_t start_ = 0;
    std::uint64_t size_ = 0;
};
