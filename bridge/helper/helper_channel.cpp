#include "helper_channel.h"

#include <cstring>

namespace {

HANDLE FromValue(std::uint32_t value)
{
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value));
}

}  // namespace

bool HelperChannel::Open(const char* headerName)
{
    return header_.Open(headerName, bridge::kHeaderSectionSize);
}

bool HelperChannel::Wait()
{
    HANDLE waits[2] = {FromValue(Header().toHelperEvent), FromValue(Header().hostProcess)};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
        return false;
    return FollowDataSection();
}

// The host replaces the data section when a message needs more room; the helper
// maps the new one and lets the old one go.
bool HelperChannel::FollowDataSection()
{
    if (Header().dataGeneration == dataGeneration_)
        return true;
    dataGeneration_ = Header().dataGeneration;
    return data_.Adopt(FromValue(Header().dataSection), Header().dataCapacity);
}

bool HelperChannel::Receive()
{
    return Wait();
}

bridge::MessageReader HelperChannel::Reader() const
{
    std::uint32_t size = Header().size;
    if (size > data_.Size())
        throw bridge::EBrokenMessage();
    return bridge::MessageReader(data_.Data(), size);
}

bool HelperChannel::Post(bridge::Message kind)
{
    Header().message = kind;
    return SetEvent(FromValue(Header().toHostEvent)) != 0;
}

bool HelperChannel::Send(bridge::Message kind, const bridge::MessageWriter& message)
{
    const std::size_t size = message.Size();
    if (size > 0xFFFFFFFFu)
        return false;
    if (size > data_.Size()) {
        Header().neededSize = static_cast<std::uint32_t>(size);
        if (!Post(bridge::kGrow) || !Wait() || Kind() != bridge::kGrown || size > data_.Size())
            return false;
    }
    message.CopyTo(static_cast<unsigned char*>(data_.Data()));
    Header().size = static_cast<std::uint32_t>(size);
    return Post(kind);
}

int HelperChannel::Progress(int done, int total)
{
    Header().progressDone = done;
    Header().progressTotal = total;
    if (!Post(bridge::kProgress) || !Wait() || Kind() != bridge::kProgressAnswer)
        return 1;
    return Header().progressAnswer;
}
