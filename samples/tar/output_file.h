#pragma once

#include <windows.h>

#include <string>

// A file being extracted: created (replacing any old one) on construction, and
// deleted again on destruction unless Keep was called, so a failed or cancelled
// extraction leaves nothing half-written behind.
class OutputFile {
public:
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    bool Write(const void* data, std::size_t size);
    // Closes the file and keeps it; false when closing failed.
    bool Keep();

private:
    std::string path_;
    HANDLE file_;
};
