#pragma once

// One running helper process and the host's end of its channel. The helper runs in
// a job that kills it when the host's handle to the job goes, so it never outlives
// the host; destroying this object ends it at once.
#include <cstdint>
#include <string>

#include "bridge_message.h"
#include "bridge_protocol.h"
#include "mapped_section.h"
#include "owned_handle.h"

class HelperProcess {
public:
    HelperProcess() = default;
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool Start(const std::string& program);
    // Hands a message to the helper; false when it cannot take it.
    bool Post(bridge::Message kind, const bridge::MessageWriter* message);
    // The helper's next message of its own (a progress request or an answer), after
    // serving its requests for more shared memory; kNone when the helper has ended,
    // broken the channel or kept silent for `timeLimit` milliseconds. The calling
    // thread's window messages flow meanwhile unless `pumpMessages` is false.
    bridge::Message Wait(DWORD timeLimit, bool pumpMessages = true);
    bridge::MessageReader Reader() const;
    bridge::ChannelHeader& Header() const
    {
        return *reinterpret_cast<bridge::ChannelHeader*>(header_.Data());
    }
    // The handle's duplicate in the helper, or 0.
    std::uint32_t DuplicateIntoHelper(HANDLE handle) const;
    DWORD ProcessId() const { return processId_; }

private:
    bool ProvideData(std::uint32_t size);
    OwnedHandle job_;
    OwnedHandle process_;
    OwnedHandle toHelper_;
    OwnedHandle toHost_;
    MappedSection header_;
    MappedSection data_;
    DWORD processId_ = 0;
};
