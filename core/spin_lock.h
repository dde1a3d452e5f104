#pragma once

#include <atomic>
#include <thread>

// A lock for a few instructions' work, such as linking one list node: no system
// object, so it can sit inside records that cross between libraries and that native
// builds check under the thread sanitizer.
class SpinLock {
public:
    SpinLock() = default;
    SpinLock(const SpinLock&) = delete;
    SpinLock& operator=(const SpinLock&) = delete;

    void lock()
    {
        while (flag_.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() { flag_.clear(std::memory_order_release); }

private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};
