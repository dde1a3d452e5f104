#include "child_run.h"

#include <windows.h>

#include <stdexcept>

#include "owned_handle.h"
#include "stopwatch.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

}  // namespace

long long CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterSeconds(long long ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

ChildRun RunChild(const std::string& commandLine, bool quiet)
{
    OwnedHandle outRead, outWrite;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(outRead.Put(), outWrite.Put(), &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(outRead.Get(), HANDLE_FLAG_INHERIT, 0);
    OwnedHandle discard;
    if (quiet)
        *discard.Put() = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                     0, nullptr);

    OwnedHandle job(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite.Get();
    startup.hStdError = quiet ? discard.Get() : GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};

    Stopwatch clock;
    std::string line = ReplaceAll(commandLine, "{launched}", std::to_string(CounterNow()));
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start: " + commandLine);
    OwnedHandle processHandle(process.hProcess);
    OwnedHandle threadHandle(process.hThread);
    AssignProcessToJobObject(job.Get(), process.hProcess);
    outWrite.Close();

    ChildRun run;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(outRead.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        run.output.append(chunk, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    run.seconds = clock.Seconds();
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.exitCode = static_cast<int>(exitCode);
    return run;
}
