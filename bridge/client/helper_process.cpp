#include "helper_process.h"

#include <cstdio>
#include <cstring>

#include "message_pump.h"

namespace {

// The shared memory of one message is at most this large: one of the two processes is
// a 32-bit one, whose address space must also hold the plug-in and its own copies.
constexpr std::uint32_t kDataLimit = 0x40000000;
constexpr std::uint32_t kFirstDataSize = 1 << 20;

std::string HeaderName()
{
    static unsigned counter = 0;
    char name[96];
    std::snprintf(name, sizeof name, "Local\\BriskBridge.%lu.%llu.%u", GetCurrentProcessId(),
                  static_cast<unsigned long long>(GetTickCount64()), ++counter);
    return name;
}

bool MakeKillingJob(OwnedHandle& job)
{
    *job.Put() = CreateJobObjectA(nullptr, nullptr);
    if (!job.Get())
        return false;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    return SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) != 0;
}

}  // namespace

HelperProcess::~HelperProcess()
{
    if (process_.Get())
        TerminateProcess(process_.Get(), 0);
}

bool HelperProcess::Start(const std::string& program)
{
    std::string name = HeaderName();
    if (!header_.Create(bridge::kHeaderSectionSize, name.c_str()))
        return false;
    *toHelper_.Put() = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    *toHost_.Put() = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!toHelper_.Get() || !toHost_.Get() || !MakeKillingJob(job_))
        return false;
    std::string commandLine = "\"" + program + "\" " + name;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // Nothing is inherited: the helper must not hold the host's pipes or files open.
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &started))
        return false;
    *process_.Put() = started.hProcess;
    OwnedHandle thread(started.hThread);
    processId_ = started.dwProcessId;
    // A host inside a job of its own that forbids another one still has the helper
    // watch it and end with it.
    AssignProcessToJobObject(job_.Get(), process_.Get());
    bridge::ChannelHeader& header = Header();
    std::memset(&header, 0, sizeof header);
    header.toHelperEvent = DuplicateIntoHelper(toHelper_.Get());
    header.toHostEvent = DuplicateIntoHelper(toHost_.Get());
    HANDLE self = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, FALSE, 0)) {
        header.hostProcess = DuplicateIntoHelper(self);
        CloseHandle(self);
    }
    if (!header.toHelperEvent || !header.toHostEvent || !header.hostProcess || !ProvideData(kFirstDataSize)) {
        TerminateProcess(process_.Get(), 0);
        process_.Close();
        return false;
    }
    ResumeThread(thread.Get());
    return true;
}

std::uint32_t HelperProcess::DuplicateIntoHelper(HANDLE handle) const
{
    HANDLE remote = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, process_.Get(), &remote, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return 0;
    return static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(remote));
}

// A new data section of at least `size` bytes, announced in the header; the helper
// maps it when it next wakes.
bool HelperProcess::ProvideData(std::uint32_t size)
{
    if (size > kDataLimit)
        return false;
    std::uint32_t capacity = data_.Size() ? data_.Size() : kFirstDataSize;
    while (capacity < size)
        capacity = capacity > kDataLimit / 2 ? kDataLimit : capacity * 2;
    if (!data_.Create(capacity))
        return false;
    std::uint32_t remote = DuplicateIntoHelper(data_.Handle());
    if (!remote)
        return false;
    Header().dataSection = remote;
    Header().dataCapacity = capacity;
    ++Header().dataGeneration;
    return true;
}

bool HelperProcess::Post(bridge::Message kind, const bridge::MessageWriter* message)
{
    if (!process_.Get())
        return false;
    std::size_t size = message ? message->Size() : 0;
    if (size > kDataLimit || (size > data_.Size() && !ProvideData(static_cast<std::uint32_t>(size))))
        return false;
    if (size)
        message->CopyTo(static_cast<unsigned char*>(data_.Data()));
    Header().size = static_cast<std::uint32_t>(size);
    Header().message = kind;
    return SetEvent(toHelper_.Get()) != 0;
}

bridge::Message HelperProcess::Wait(DWORD timeLimit, bool pumpMessages)
{
    for (;;) {
        HANDLE waits[2] = {toHost_.Get(), process_.Get()};
        const int signalled = pumpMessages ? WaitPumpingMessages(waits, 2, timeLimit)
                                           : static_cast<int>(WaitForMultipleObjects(2, waits, FALSE, timeLimit)) -
                                                 static_cast<int>(WAIT_OBJECT_0);
        if (signalled != 0)
            return bridge::kNone;
        bridge::Message kind = static_cast<bridge::Message>(Header().message);
        if (kind != bridge::kGrow)
            return kind;
        if (!ProvideData(Header().neededSize) || !Post(bridge::kGrown, nullptr))
            return bridge::kNone;
    }
}

bridge::MessageReader HelperProcess::Reader() const
{
    std::uint32_t size = Header().size;
    if (size > data_.Size())
        throw bridge::EBrokenMessage();
    return bridge::MessageReader(data_.Data(), size);
}
