#pragma once

// The process's one link to its helper: starts it on the first need, loads plug-ins
// in it, carries calls, and drops a helper that fails so the next call starts a new
// one. Calls from several threads take turns on the one channel: a thread waits for
// its turn as it waits for its answer, with its window messages flowing. Only a call
// made on a thread whose own call is still waiting (from a window message that
// arrives meanwhile) cannot have a turn, and fails.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "bridge_message.h"
#include "bridged_plugin.h"
#include "helper_process.h"
#include "owned_handle.h"
#include "once_init.h"
#include "slim_lock.h"

// How BridgeClient::Bind ends.
enum class BindOutcome {
    kBound,
    kNotLoadable,    // no helper can run, or the plug-in does not load in it
    kChannelFailed,  // the helper failed or gave no turn: nothing is known of the plug-in
};

class BridgeClient {
public:
    BridgeClient();
    ~BridgeClient();
    BridgeClient(const BridgeClient&) = delete;
    BridgeClient& operator=(const BridgeClient&) = delete;

    BindOutcome Bind(BridgedPlugin& plugin);
    // Never waits for a turn or pumps messages: it runs when a library is unloaded.
    void Release(const BridgedPlugin& plugin);

    // Carries one call: `writeArguments` adds the arguments after the plug-in's id
    // and the entry, `progress` answers the helper's progress requests, `readResults`
    // reads the answer. False when the helper failed or no turn could be had; such a
    // failure is counted for the calling thread.
    using ProgressAnswer = std::function<int(int done, int total)>;
    bool Call(BridgedPlugin& plugin, std::uint32_t entry, const std::function<void(bridge::MessageWriter&)>& writeArguments,
              const ProgressAnswer& progress, bool waitForever,
              const std::function<void(bridge::MessageReader&)>& readResults);

    // The handle's duplicate in the running helper, or 0. Only within a call's turn.
    std::uint32_t DuplicateIntoHelper(HANDLE handle) const { return helper_ ? helper_->DuplicateIntoHelper(handle) : 0; }
    // The helper's process id, 0 when none runs.
    DWORD HelperProcessId() const { return helperProcessId_.load(); }

private:
    friend class ChannelTurn;
    BindOutcome Load(BridgedPlugin& plugin);
    bool EnsureHelper();
    void DropHelper();

    // The channel's turn: an event that is set while nobody has it, and the thread
    // that has it.
    OnceInit<SlimLock> turnMade_;
    OwnedHandle turnFree_;
    std::atomic<DWORD> turnOwner_{0};

    // Used only by the thread that has the turn.
    std::unique_ptr<HelperProcess> helper_;
    std::uint64_t generation_ = 0;
    std::atomic<DWORD> helperProcessId_{0};
};

BridgeClient& TheBridgeClient();
// False once the client is destroyed, when the library that holds it is unloaded:
// records destroyed after it have no helper to tell.
bool BridgeClientAlive();
// At process exit the helper is left to its job: no more messages to it.
void StopBridgeClient();
// The folder of the deliverable that holds this code, where the helper lies.
std::string HelperProgramPath();
// How many of this thread's bridged calls failed in the channel so far.
unsigned long ChannelFailuresOfThisThread();
