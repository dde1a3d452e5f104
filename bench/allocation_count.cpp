// How many heap allocations and bytes the catalogue reader takes per record, and a copy
// of a record (the front plug-ins copy the records they take): on the heap, and in a
// catalogue's arena as the registry and the front plug-ins keep them. Counts, not
// times: the same on every machine of one width, so it is built natively:
//   g++ -O2 -std=c++17 -Icore bench/allocation_count.cpp core/catalogue_reader.cpp \
//       core/catalogue_stream_reader.cpp core/text_lines.cpp core/file_filter.cpp \
//       core/catalogue_arena.cpp core/module_catalogue.cpp -o build/allocation_count \
//       && build/allocation_count
// The records are shaped as the benchmarks' no-op records: one filter of four patterns.
#include <cstdio>
#include <cstdlib>
#include <list>
#include <new>
#include <sstream>
#include <string>

#include "catalogue_reader.h"
#include "module_catalogue.h"
#include "stream_input.h"

namespace {
long allocations = 0;
std::size_t bytes = 0;
}  // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    bytes += size;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

int main()
{
    constexpr int kRecords = 1000;
    std::string text;
    for (int i = 0; i < kRecords; ++i) {
        char record[512];
        std::snprintf(record, sizeof record,
                      "C:\\plugins\\noop\\p%04d.spi\r\n00IN\r\nno-op plug-in number %04d\r\nfalse\r\n"
                      "*.a%04d;*.b%04d;*.c%04d;*.d%04d\r\nNo-op pictures %04d\r\n-----\r\n",
                      i, i, i, i, i, i, i);
        text += record;
    }
    auto perRecord = [&](const char* what, long count, std::size_t size) {
        std::printf("%s: %.1f allocations, %.0f bytes per record\n", what, static_cast<double>(count) / kRecords,
                    static_cast<double>(size) / kRecords);
    };
    std::istringstream input(text);
    long before = allocations;
    std::size_t bytesBefore = bytes;
    std::list<PluginModule> records = ReadCatalogue(input);
    perRecord("read, on the heap", allocations - before, bytes - bytesBefore);
    before = allocations;
    bytesBefore = bytes;
    std::list<PluginModule> copies(records);
    perRecord("copied, on the heap", allocations - before, bytes - bytesBefore);

    CatalogueArena registryArena;
    ModuleCatalogue registry(registryArena);
    std::istringstream again(text);
    StreamInput stream(again);
    before = allocations;
    ReadCatalogueInto(stream, registry.modules);
    perRecord("read, in an arena (blocks taken)", allocations - before, registryArena.Reserved());
    CatalogueArena frontArena;
    ModuleCatalogue front(frontArena);
    before = allocations;
    for (const PluginModule& record : registry.modules)
        front.modules.push_back(record);
    perRecord("copied, in an arena (blocks taken)", allocations - before, frontArena.Reserved());
    return records.size() == kRecords && registry.modules.size() == kRecords ? 0 : 1;
}
