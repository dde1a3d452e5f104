#include "bench_files.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace {

// Owns one find handle.
class FindHandle {
public:
    FindHandle(const std::string& pattern, WIN32_FIND_DATAA& found) : handle_(FindFirstFileA(pattern.c_str(), &found)) {}
    ~FindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& found) { return FindNextFileA(handle_, &found) != 0; }

private:
    HANDLE handle_;
};

// Owns one file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

bool IsDots(const char* name)
{
    return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0;
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& root, const std::string& label)
{
    MakeFolder(root);
    path_ = root + "\\" + label + "-" + std::to_string(GetCurrentProcessId());
    RemoveTree(path_);
    MakeFolder(path_);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path_);
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

std::string DefaultScratchRoot()
{
    char path[MAX_PATH] = {};
    DWORD length = GetTempPathA(MAX_PATH, path);
    std::string text(path, length);
    if (!text.empty() && text.back() == '\\')
        text.pop_back();
    return text + "\\brisk-bench";
}

void MakeFolder(const std::string& path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create folder " + path);
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    FindHandle find(path + "\\*", found);
    if (find.Valid()) {
        do {
            if (IsDots(found.cFileName))
                continue;
            std::string child = path + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (find.Next(found));
    }
    RemoveDirectoryA(path.c_str());
}

void CopyOneFile(const std::string& from, const std::string& to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + from + " to " + to);
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.Valid() || !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFileStart(const std::string& path, std::size_t limit)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw std::runtime_error("cannot open " + path);
    DWORD size = GetFileSize(file.Get(), nullptr);
    std::string bytes(size < limit ? size : limit, '\0');
    DWORD got = 0;
    if (!ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size())
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

std::string ReadWholeFile(const std::string& path)
{
    return ReadFileStart(path, static_cast<std::size_t>(-1));
}

unsigned long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::string> FileNamesIn(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle find(folder + "\\" + pattern, found);
    if (find.Valid()) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (find.Next(found));
    }
    std::sort(names.begin(), names.end());
    return names;
}
