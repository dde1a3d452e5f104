#include "received_block.h"

ReceivedBlock::ReceivedBlock(HLOCAL handle) : handle_(handle)
{
    if (!handle_)
        return;
    data_ = static_cast<const unsigned char*>(LocalLock(handle_));
    if (data_)
        size_ = LocalSize(handle_);
}

ReceivedBlock::~ReceivedBlock()
{
    if (!handle_)
        return;
    if (data_)
        LocalUnlock(handle_);
    LocalFree(handle_);
}
