#include "child_process.h"

#include <windows.h>

#include <stdexcept>
#include <thread>

#include "owned_handle.h"

namespace {

void MakePipe(OwnedHandle& readEnd, OwnedHandle& writeEnd, bool childReads)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    // Only the child's end is inherited.
    SetHandleInformation(childReads ? writeEnd.Get() : readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
}

void Drain(HANDLE pipe, std::string& into)
{
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0)
        into.append(chunk, got);
}

ProcessResult RunWideProcess(std::wstring commandLine, const std::string& input, const wchar_t* workingFolder)
{
    OwnedHandle inRead, inWrite, outRead, outWrite, errRead, errWrite;
    MakePipe(inRead, inWrite, true);
    MakePipe(outRead, outWrite, false);
    MakePipe(errRead, errWrite, false);

    OwnedHandle job(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead.Get();
    startup.hStdOutput = outWrite.Get();
    startup.hStdError = errWrite.Get();
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, workingFolder,
                        &startup, &process))
        throw std::runtime_error("cannot start a child process");
    OwnedHandle processHandle(process.hProcess);
    OwnedHandle threadHandle(process.hThread);
    AssignProcessToJobObject(job.Get(), process.hProcess);
    ResumeThread(process.hThread);
    inRead.Close();
    outWrite.Close();
    errWrite.Close();

    ProcessResult result;
    std::thread errorReader([&] { Drain(errRead.Get(), result.standardError); });
    std::thread inputWriter([&] {
        DWORD written = 0;
        if (!input.empty())
            WriteFile(inWrite.Get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
        inWrite.Close();
    });
    Drain(outRead.Get(), result.standardOutput);
    errorReader.join();
    inputWriter.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    result.exitCode = static_cast<int>(exitCode);
    return result;
}

}  // namespace

ProcessResult RunProcess(const std::string& commandLine, const std::string& input, const std::string& workingFolder)
{
    std::wstring wideFolder;
    if (!workingFolder.empty()) {
        wideFolder.resize(workingFolder.size() * 2 + 1);
        wideFolder.resize(MultiByteToWideChar(CP_ACP, 0, workingFolder.c_str(), -1, &wideFolder[0],
                                              static_cast<int>(wideFolder.size())));
    }
    std::wstring line(commandLine.size() * 2 + 1, L'\0');
    line.resize(MultiByteToWideChar(CP_ACP, 0, commandLine.c_str(), -1, &line[0], static_cast<int>(line.size())));
    return RunWideProcess(line, input, wideFolder.empty() ? nullptr : wideFolder.c_str());
}

ProcessResult RunProcess(const std::wstring& commandLine, const std::string& input)
{
    return RunWideProcess(commandLine.c_str(), input, nullptr);
}
