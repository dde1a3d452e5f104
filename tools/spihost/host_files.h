#pragma once

// The files spihost itself reads and writes (the plug-ins open theirs on their own).
// Every path is UTF-8.
#include <windows.h>

#include <cstdint>
#include <string>

// The absolute form of a path, so that plug-ins and messages see the same name.
std::string FullPath(const std::string& path);
// "X:\..." or "\\server\...": a path that names one file wherever it is used.
bool IsAbsolutePath(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Size of an existing file; throws HostFailure (file error) when it cannot be read.
std::uint64_t FileSize(const std::string& path);
// The whole file; throws HostFailure (file error).
std::string ReadWholeFile(const std::string& path);
// Throws HostFailure (file error).
void WriteWholeFile(const std::string& path, const std::string& bytes);
// Makes the folder and the folders above it; throws HostFailure (file error).
void MakeFolders(const std::string& path);

// The system's text for an error number, with the number.
std::string SystemMessage(DWORD error);

// An open file handle, closed on destruction.
class InputHandle {
public:
    explicit InputHandle(const std::string& path);
    ~InputHandle();
    InputHandle(const InputHandle&) = delete;
    InputHandle& operator=(const InputHandle&) = delete;
    HANDLE Get() const { return handle_; }
    void Rewind() const;

private:
    HANDLE handle_;
};
