#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// Where a catalogue's records live. A catalogue of thousands of records is read at a
// host's first call, and every text, list node and array of it is a small block; on the
// heap each one carries its own header and search. The arena hands them out packed from
// a few large blocks and gives everything back at once, when its owner (the registry's
// catalogue) goes; a block given back before then stays unused until that time.
class CatalogueArena {
public:
    CatalogueArena() = default;
    CatalogueArena(const CatalogueArena&) = delete;
    CatalogueArena& operator=(const CatalogueArena&) = delete;
    ~CatalogueArena();

    void* Allocate(std::size_t size, std::size_t alignment);

    // Bytes taken from the heap so far (for tests and benchmarks).
    std::size_t Reserved() const { return reserved_; }

private:
    void* AllocateInNewBlock(std::size_t size, std::size_t alignment);

    struct Block {
        Block* previous;
    };
    Block* last_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t reserved_ = 0;
};

// The allocator of the catalogue types. Bound to an arena it allocates there and frees
// nothing; default-constructed it uses the heap, as std::allocator does. Copies of a
// container go to the heap unless they are given an arena, and an arena never passes
// from one container to another by assignment, so no record outlives the arena it lives
// in. Containers built with it hand it on to the texts and arrays inside their elements.
template <class T>
class CatalogueAllocator {
public:
    using value_type = T;
    using propagate_on_container_copy_assignment = std::false_type;
    using propagate_on_container_move_assignment = std::false_type;
    using propagate_on_container_swap = std::false_type;
    using is_always_equal = std::false_type;

    CatalogueAllocator() noexcept = default;
    CatalogueAllocator(CatalogueArena* arena) noexcept : arena_(arena) {}
    template <class U>
    CatalogueAllocator(const CatalogueAllocator<U>& other) noexcept : arena_(other.Arena())
    {
    }

    T* allocate(std::size_t count)
    {
        if (count > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        if (arena_)
            return static_cast<T*>(arena_->Allocate(count * sizeof(T), alignof(T)));
        return static_cast<T*>(::operator new(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t) noexcept
    {
        if (!arena_)
            ::operator delete(block);
    }

    // An element that takes this allocator as its last constructor argument gets it.
    template <class U, class... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        if constexpr (std::uses_allocator<U, CatalogueAllocator>::value &&
                      std::is_constructible<U, Arguments..., const CatalogueAllocator&>::value)
            ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)..., *this);
        else
            ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }

    CatalogueAllocator select_on_container_copy_construction() const { return {}; }

    CatalogueArena* Arena() const noexcept { return arena_; }

private:
    CatalogueArena* arena_ = nullptr;
};

template <class T, class U>
bool operator==(const CatalogueAllocator<T>& a, const CatalogueAllocator<U>& b) noexcept
{
    return a.Arena() == b.Arena();
}

template <class T, class U>
bool operator!=(const CatalogueAllocator<T>& a, const CatalogueAllocator<U>& b) noexcept
{
    return !(a == b);
}

// The texts and arrays of the catalogue types.
using CatalogueText = std::basic_string<char, std::char_traits<char>, CatalogueAllocator<char>>;
template <class T>
using CatalogueVector = std::vector<T, CatalogueAllocator<T>>;
