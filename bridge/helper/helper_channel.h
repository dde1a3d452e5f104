#pragma once

// The helper's end of the channel: waits for the host's messages and answers them.
// A host that is gone ends the wait with false.
#include <cstdint>

#include "bridge_message.h"
#include "bridge_protocol.h"
#include "mapped_section.h"

class HelperChannel {
public:
    bool Open(const char* headerName);
    // The next message of the host's; false when the host process has ended.
    bool Receive();
    HANDLE HostProcess() const { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(Header().hostProcess)); }
    bridge::Message Kind() const { return static_cast<bridge::Message>(Header().message); }
    bridge::MessageReader Reader() const;
    // Puts the message in the data section (asking the host for a larger one when it
    // does not fit) and hands it over; false when the host is gone.
    bool Send(bridge::Message kind, const bridge::MessageWriter& message);
    // The host's progress callback: its answer, or 1 (cancel) when the host is gone.
    int Progress(int done, int total);

private:
    bridge::ChannelHeader& Header() const { return *reinterpret_cast<bridge::ChannelHeader*>(header_.Data()); }
    bool Post(bridge::Message kind);
    bool Wait();
    bool FollowDataSection();
    MappedSection header_;
    MappedSection data_;
    std::uint32_t dataGeneration_ = 0;
};
