#include "catalogue_arena.h"

#include <cstdint>

namespace {

// The first block holds a small catalogue whole; later ones double, so a catalogue of
// tens of thousands of records takes a handful of heap blocks.
constexpr std::size_t kFirstBlock = 16 * 1024;
constexpr std::size_t kLargestBlock = 4 * 1024 * 1024;

char* AlignUp(char* place, std::size_t alignment)
{
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(place);
    return reinterpret_cast<char*>((address + alignment - 1) & ~(static_cast<std::uintptr_t>(alignment) - 1));
}

}  // namespace

CatalogueArena::~CatalogueArena()
{
    while (last_) {
        Block* previous = last_->previous;
        ::operator delete(last_);
        last_ = previous;
    }
}

void* CatalogueArena::Allocate(std::size_t size, std::size_t alignment)
{
    if (next_) {
        char* place = AlignUp(next_, alignment);
        if (place <= end_ && size <= static_cast<std::size_t>(end_ - place)) {
            next_ = place + size;
            return place;
        }
    }
    return AllocateInNewBlock(size, alignment);
}

void* CatalogueArena::AllocateInNewBlock(std::size_t size, std::size_t alignment)
{
    std::size_t grown = reserved_ < kFirstBlock ? kFirstBlock : reserved_;
    if (grown > kLargestBlock)
        grown = kLargestBlock;
    if (size > static_cast<std::size_t>(-1) - sizeof(Block) - alignment)
        throw std::bad_alloc();
    std::size_t wanted = sizeof(Block) + alignment + size;
    std::size_t blockSize = wanted > grown ? wanted : grown;
    Block* block = static_cast<Block*>(::operator new(blockSize));
    block->previous = last_;
    last_ = block;
    reserved_ += blockSize;
    char* place = AlignUp(reinterpret_cast<char*>(block) + sizeof(Block), alignment);
    end_ = reinterpret_cast<char*>(block) + blockSize;
    next_ = place + size;
    return place;
}
