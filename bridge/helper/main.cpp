// The bridge's helper: loads the plug-ins of its own width that a host of the other
// width needs and runs their calls (briskbridge32.exe for 64-bit hosts,
// briskbridge64.exe for 32-bit ones). It serves the one host process that started it, whose
// command line names the channel, and ends with it.
#include <windows.h>

#include <string>

#include "bridge_message.h"
#include "helper_channel.h"
#include "plugin_calls.h"
#include "plugin_table.h"

namespace {

// A plug-in that crashes ends the helper at once, without a system error dialog; the
// host sees the process end and fails the call.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*)
{
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The host's end also ends a helper whose plug-in hangs in a call.
DWORD WINAPI WatchHost(void* hostProcess)
{
    WaitForSingleObject(static_cast<HANDLE>(hostProcess), INFINITE);
    TerminateProcess(GetCurrentProcess(), 4);
    return 0;
}

void Answer(HelperChannel& channel, PluginTable& plugins, bridge::MessageWriter& answer)
{
    using namespace bridge;
    MessageReader request = channel.Reader();
    switch (channel.Kind()) {
    case kLoad: {
        std::uint32_t mask = 0;
        std::uint32_t id = plugins.Load(request.Text(), &mask);
        answer.U32(id);
        answer.U32(mask);
        break;
    }
    case kRelease:
        plugins.Release(request.U32());
        break;
    case kCall: {
        std::uint32_t id = request.U32();
        Entry entry = static_cast<Entry>(request.U32());
        const PluginEntryPoints* plugin = plugins.Find(id);
        if (plugin)
            RunPluginCall(*plugin, entry, request, channel, answer);
        else
            answer.I32(FailureResult(entry < kEntryCount ? entry : kGetPicture));
        break;
    }
    default:
        break;
    }
}

bridge::Message AnswerKind(bridge::Message request)
{
    switch (request) {
    case bridge::kLoad:
        return bridge::kLoaded;
    case bridge::kRelease:
        return bridge::kReleased;
    default:
        return bridge::kResult;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    // A plug-in that fails must not stop the helper with a system error box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    HelperChannel channel;
    if (!commandLine || !channel.Open(commandLine))
        return 1;
    SetUnhandledExceptionFilter(EndOnCrash);
    HANDLE watcher = CreateThread(nullptr, 0, WatchHost, channel.HostProcess(), 0, nullptr);
    if (watcher)
        CloseHandle(watcher);
    PluginTable plugins;
    bridge::MessageWriter answer;
    while (channel.Receive()) {
        bridge::Message kind = channel.Kind();
        if (kind == bridge::kQuit)
            break;
        answer.Clear();
        try {
            Answer(channel, plugins, answer);
        } catch (...) {
            // A message the helper cannot read: an empty answer, which the host
            // takes as a failed call.
            answer.Clear();
            ReleaseSentBlocks();
        }
        const bool sent = channel.Send(AnswerKind(kind), answer);
        ReleaseSentBlocks();
        if (!sent)
            break;
    }
    // The host is gone or has said goodbye; the plug-ins are not freed one by one.
    ExitProcess(0);
}
