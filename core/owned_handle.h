#pragma once

#include <windows.h>

// Owns one kernel handle (file, pipe, process, job) and closes it once.
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    // Closes what is held and lends the slot to a call that creates a handle.
    HANDLE* Put()
    {
        Close();
        return &handle_;
    }
    void Close()
    {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};
