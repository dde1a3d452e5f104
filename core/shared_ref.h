#pragma once

#include <cstddef>
#include <list>
#include <utility>

template <class T>
class SharedRef;

// Base of every counted holder. It keeps one entry per SharedRef that points at it;
// the number of entries is the reference count, and the holder deletes itself when
// the last reference is released.
class SharedObject {
public:
    SharedObject() = default;
    SharedObject(const SharedObject&) = delete;
    SharedObject& operator=(const SharedObject&) = delete;
    virtual ~SharedObject() = default;

    std::size_t ReferenceCount() const { return references_.size(); }

private:
    template <class T>
    friend class SharedRef;

    // Each entry records the SharedRef it belongs to (non-owning).
    std::list<const void*> references_;
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
            *entry_ = this;
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
                *entry_ = this;
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
        target->references_.erase(entry_);
        if (target->references_.empty())
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
        target->references_.push_front(this);
        entry_ = target->references_.begin();
        target_ = target;
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
        if (oldTarget) {
            oldTarget->references_.erase(oldEntry);
            if (oldTarget->references_.empty())
                delete oldTarget;
        }
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
