#include "local_block.h"

LocalBlock::LocalBlock(std::size_t size)
{
    // A zero-byte movable block is born discarded and cannot be locked.
    handle_ = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size > 0 ? size : 1);
    if (handle_)
        data_ = static_cast<unsigned char*>(LocalLock(handle_));
    if (handle_ && !data_) {
        LocalFree(handle_);
        handle_ = nullptr;
    }
}

LocalBlock::~LocalBlock()
{
    if (handle_) {
        LocalUnlock(handle_);
        LocalFree(handle_);
    }
}

HLOCAL LocalBlock::Release()
{
    HLOCAL handle = handle_;
    if (handle)
        LocalUnlock(handle);
    handle_ = nullptr;
    data_ = nullptr;
    return handle;
}
