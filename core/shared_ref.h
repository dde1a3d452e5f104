#pragma once

#include <cstddef>
#include <list>
#include <mutex>
#include <utility>

#include "spin_lock.h"

template <class T>
class SharedRef;

// Base of every counted holder. It keeps one entry per SharedRef that points at it;
// the number of entries is the reference count, and the holder deletes itself when
// the last reference is released. References to one holder may be taken and dropped
// on several threads at once; one reference object is used by one thread at a time.
class SharedObject {
public:
    SharedObject() = default;
    SharedObject(const SharedObject&) = delete;
    SharedObject& operator=(const SharedObject&) = delete;
    virtual ~SharedObject() = default;

    std::size_t ReferenceCount() const
    {
        std::lock_guard<SpinLock> guard(referencesLock_);
        return references_.size();
    }

private:
    template <class T>
    friend class SharedRef;

    // Each entry records the SharedRef it belongs to (non-owning).
    std::list<const void*> references_;
    mutable SpinLock referencesLock_;
};

// A counted holder of one T; concrete holders store the T by value.
template <class T>
class SharedHolder : public virtual SharedObject {
public:
    virtual T* Get() = 0;
};

// A counted reference to a SharedHolder<T>; empty when it has no target.
template <class T>
class SharedRef {
public:
    SharedRef() = default;
    explicit SharedRef(SharedHolder<T>* target) { Attach(target); }
    SharedRef(const SharedRef& other) { Attach(other.target_); }
    SharedRef(SharedRef&& other) noexcept : entry_(other.entry_), target_(other.target_)
    {
        if (target_)
            Relink();
        other.target_ = nullptr;
    }
    ~SharedRef() { Release(); }

    SharedRef& operator=(const SharedRef& other)
    {
        Assign(other.target_);
        return *this;
    }
    SharedRef& operator=(SharedRef&& other) noexcept
    {
        if (this != &other) {
            Release();
            entry_ = other.entry_;
            target_ = other.target_;
            if (target_)
                Relink();
            other.target_ = nullptr;
        }
        return *this;
    }
    SharedRef& operator=(SharedHolder<T>* target)
    {
        Assign(target);
        return *this;
    }

    // Unlinks this reference; the holder deletes itself when it was the last one.
    void Release() noexcept
    {
        SharedHolder<T>* target = target_;
        if (!target)
            return;
        target_ = nullptr;
        if (Unlink(target, entry_))
            delete target;
    }

    bool Empty() const { return target_ == nullptr; }
    SharedHolder<T>* Target() const { return target_; }
    T* Get() const { return target_ ? target_->Get() : nullptr; }
    T& operator*() const { return *Get(); }
    T* operator->() const { return Get(); }

private:
    void Attach(SharedHolder<T>* target)
    {
        if (!target)
            return;
        {
            std::lock_guard<SpinLock> guard(target->referencesLock_);
            target->references_.push_front(this);
            entry_ = target->references_.begin();
        }
        target_ = target;
    }

    // True when `entry` was the holder's last reference: the caller deletes it, outside
    // the lock, since its destructor may free a library.
    static bool Unlink(SharedHolder<T>* target, std::list<const void*>::iterator entry) noexcept
    {
        std::lock_guard<SpinLock> guard(target->referencesLock_);
        target->references_.erase(entry);
        return target->references_.empty();
    }

    void Relink() noexcept
    {
        std::lock_guard<SpinLock> guard(target_->referencesLock_);
        *entry_ = this;
    }

    // The new target is registered before the old one is released, so assigning a
    // reference that is kept alive only by this one stays safe.
    void Assign(SharedHolder<T>* target)
    {
        if (target == target_)
            return;
        SharedHolder<T>* oldTarget = target_;
        std::list<const void*>::iterator oldEntry = entry_;
        target_ = nullptr;
        Attach(target);
        if (oldTarget && Unlink(oldTarget, oldEntry))
            delete oldTarget;
    }

    std::list<const void*>::iterator entry_{};
    SharedHolder<T>* target_ = nullptr;
};

// A holder that stores its value by value: the common concrete holder.
template <class T>
class ValueHolder : public SharedHolder<T> {
public:
    explicit ValueHolder(T value) : value_(std::move(value)) {}
    T* Get() override { return &value_; }

private:
    T value_;
};
