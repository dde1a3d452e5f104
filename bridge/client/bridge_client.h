#pragma once

// The process's one link to its helper: starts it on the first need, loads plug-ins
// in it, carries calls, and drops a helper that fails so the next call starts a new
// one. One call at a time: a call made while another waits (from a window message
// that arrives meanwhile) is refused.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "bridge_message.h"
#include "bridged_plugin.h"
#include "helper_process.h"

class BridgeClient {
public:
    ~BridgeClient();

    // Loads the plug-in in the helper, starting one if needed; false when that fails.
    bool Bind(BridgedPlugin& plugin);
    void Release(const BridgedPlugin& plugin);

    // Carries one call: `writeArguments` adds the arguments after the plug-in's id
    // and the entry, `progress` answers the helper's progress requests, `readResults`
    // reads the answer. False when the helper failed or the call was refused.
    using ProgressAnswer = std::function<int(int done, int total)>;
    bool Call(BridgedPlugin& plugin, std::uint32_t entry, const std::function<void(bridge::MessageWriter&)>& writeArguments,
              const ProgressAnswer& progress, bool waitForever,
              const std::function<void(bridge::MessageReader&)>& readResults);

    // The handle's duplicate in the running helper, or 0.
    std::uint32_t DuplicateIntoHelper(HANDLE handle) const { return helper_ ? helper_->DuplicateIntoHelper(handle) : 0; }
    // The helper's process id, 0 when none runs.
    DWORD HelperProcessId() const { return helper_ ? helper_->ProcessId() : 0; }

private:
    bool EnsureHelper();
    bool Load(BridgedPlugin& plugin);
    void DropHelper();
    std::unique_ptr<HelperProcess> helper_;
    std::uint64_t generation_ = 0;
    bool busy_ = false;
};

BridgeClient& TheBridgeClient();
// At process exit the helper is left to its job: no more messages to it.
void StopBridgeClient();
// The folder of the deliverable that holds this code, where the helper lies.
std::string HelperProgramPath();
