#pragma once

#include <atomic>
#include <mutex>

// Runs a piece of process-wide set-up once, whichever thread needs it first; a thread
// that needs it while another runs it waits, and every thread sees the finished
// result afterwards. `Lock` is any lockable type: std::mutex natively, the slim lock
// in the libraries, whose mutexes must leave nothing behind when they are unloaded.
// A set-up that throws has not run: the next caller tries again.
template <class Lock>
class OnceInit {
public:
    template <class SetUp>
    void Run(SetUp&& setUp)
    {
        if (done_.load(std::memory_order_acquire))
            return;
        std::lock_guard<Lock> guard(lock_);
        if (done_.load(std::memory_order_relaxed))
            return;
        setUp();
        done_.store(true, std::memory_order_release);
    }

    bool Done() const { return done_.load(std::memory_order_acquire); }

private:
    Lock lock_;
    std::atomic<bool> done_{false};
};
