#include "test_files.h"

#include <windows.h>

#include <stdexcept>

#include "module_path.h"

std::string BinFolder()
{
    return FolderOf(ModuleFileName(nullptr));
}

namespace {

// Wide, so that files whose names the code page cannot write go too.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& folder)
{
    std::wstring wide(folder.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, folder.data(), static_cast<int>(folder.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    RemoveTree(wide);
}

}  // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::string candidate = std::string(base) + "brisk" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(++counter);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CopyFixture(const std::string& fixtureName, const std::string& target)
{
    if (!CopyFileA((BinFolder() + fixtureName).c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy fixture " + fixtureName + " to " + target);
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::string bytes = ReadFileBytes(path);
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        std::string::size_type end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string WineFolder(const std::string& unixFolder)
{
    std::string path = "Z:" + unixFolder;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    if (path.back() != '\\')
        path += '\\';
    return path;
}
