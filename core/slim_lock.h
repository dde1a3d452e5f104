#pragma once

// A mutex that needs no creation and no clean-up: a library that is loaded and freed
// again and again leaves no handle or thread object behind with it. Usable with
// std::lock_guard, and with SlimCondition for waiting.
#include <windows.h>

class SlimLock {
public:
    SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    bool try_lock() { return TryAcquireSRWLockExclusive(&lock_) != 0; }
    SRWLOCK* Native() { return &lock_; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

// Waits on a SlimLock the caller holds (through a guard).
class SlimCondition {
public:
    SlimCondition() = default;
    SlimCondition(const SlimCondition&) = delete;
    SlimCondition& operator=(const SlimCondition&) = delete;

    template <class Predicate>
    void Wait(SlimLock& held, Predicate&& ready)
    {
        while (!ready())
            SleepConditionVariableSRW(&condition_, held.Native(), INFINITE, 0);
    }
    void WakeAll() { WakeAllConditionVariable(&condition_); }

private:
    CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};
