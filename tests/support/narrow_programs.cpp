#include "narrow_programs.h"

#include <string>

#include <windows.h>

#include "set_names.h"
#include "test_files.h"

namespace {

bool HelperAnswers(const char* program)
{
    std::string helper = BinFolder() + program;
    std::string commandLine = "\"" + helper + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(helper.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    DWORD code = 0;
    WaitForSingleObject(started.hProcess, 10000);
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return code == 1;
}

}  // namespace

bool CanRun32BitPrograms()
{
    return HelperAnswers("briskbridge32.exe");
}

bool CanRun64BitPrograms()
{
    return HelperAnswers("briskbridge64.exe");
}

bool CanRunTheBridgeHelper()
{
    return HelperAnswers(BRISK_BRIDGE_PROGRAM);
}
