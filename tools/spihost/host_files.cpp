#include "host_files.h"

#include <vector>

#include "host_failure.h"
#include "host_text.h"

std::string FullPath(const std::string& path)
{
    std::wstring wide = WideFromUtf8(path);
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::vector<wchar_t> buffer(length + 1);
    GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return Utf8FromWide(buffer.data());
}

bool IsAbsolutePath(const std::string& path)
{
    bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return drive || path.compare(0, 2, "\\\\") == 0;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string message = length ? Utf8FromWide(text, length) : std::string("unknown error");
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' '))
        message.pop_back();
    return message + " (error " + std::to_string(error) + ")";
}

InputHandle::InputHandle(const std::string& path)
    : handle_(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (handle_ == INVALID_HANDLE_VALUE) {
        std::string why = FolderExists(path) ? "it is a folder" : SystemMessage(GetLastError());
        throw HostFailure{kHostFileError, "cannot open " + path + ": " + why};
    }
}

InputHandle::~InputHandle()
{
    CloseHandle(handle_);
}

void InputHandle::Rewind() const
{
    LARGE_INTEGER zero = {};
    SetFilePointerEx(handle_, zero, nullptr, FILE_BEGIN);
}

std::uint64_t FileSize(const std::string& path)
{
    InputHandle file(path);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        throw HostFailure{kHostFileError, "cannot read " + path + ": " + SystemMessage(GetLastError())};
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::string ReadWholeFile(const std::string& path)
{
    InputHandle file(path);
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file =
        CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw HostFailure{kHostFileError, "cannot write " + path + ": " + SystemMessage(GetLastError())};
    DWORD written = 0;
    BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!wrote || written != bytes.size()) {
        DeleteFileW(WideFromUtf8(path).c_str());
        throw HostFailure{kHostFileError, "cannot write " + path + ": " + SystemMessage(error)};
    }
}

void MakeFolders(const std::string& path)
{
    if (path.empty() || FolderExists(path))
        return;
    std::string::size_type cut = path.find_last_of("\\/", path.size() - 2);
    if (cut != std::string::npos && cut > 2)
        MakeFolders(path.substr(0, cut));
    if (!CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) && !FolderExists(path))
        throw HostFailure{kHostFileError, "cannot make folder " + path + ": " + SystemMessage(GetLastError())};
}
