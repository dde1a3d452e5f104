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

}  // namespace

ProcessResult RunProcess(const std::string& commandLine, const std::string& input, const std::string& workingFolder)
{
    OwnedHandle inRead, inWrite, outRead, outWrite, errRead, errWrite;
    MakePipe(inRead, inWrite, true);
    MakePipe(outRead, outWrite, false);
    MakePipe(errRead, errWrite, false);

    OwnedHandle job(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead.Get();
    startup.hStdOutput = outWrite.Get();
    startup.hStdError = errWrite.Get();
    PROCESS_INFORMATION process = {};
    std::string mutableLine = commandLine;
    if (!CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process))
        throw std::runtime_error("cannot start: " + commandLine);
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
