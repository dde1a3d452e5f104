// A stand-in command for the per-line runner's tests: appends its own command line,
// exactly as it received it, and a line feed to "<own path>.log".
#include <windows.h>

#include <string>

int main()
{
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string text = std::string(GetCommandLineA()) + "\n";
    HANDLE log = CreateFileA((std::string(own) + ".log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
}
