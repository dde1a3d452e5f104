#pragma once

// Thrown by a ReentryGuard when an export is entered while another one of the same
// front plug-in is still running on this thread.
struct ELock {};

// Marks an export as running for its lifetime. The flag is only cleared by the
// guard that set it, so a refused nested call leaves the outer call's mark alone.
class ReentryGuard {
public:
    explicit ReentryGuard(bool& busyFlag) : busyFlag_(busyFlag)
    {
        if (busyFlag_)
            throw ELock();
        busyFlag_ = true;
    }
    ~ReentryGuard() { busyFlag_ = false; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

private:
    bool& busyFlag_;
};
