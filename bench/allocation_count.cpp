// How many allocations the catalogue reader makes per record, and how many a copy of
// a record makes (the front plug-ins copy the records they take). A count, not a
// time: it is the same on every machine, so it is built natively:
//   g++ -O2 -std=c++17 -Icore bench/allocation_count.cpp core/catalogue_reader.cpp \
//       core/catalogue_stream_reader.cpp core/text_lines.cpp core/file_filter.cpp \
//       -o build/allocation_count && build/allocation_count
// The records are shaped as the benchmarks' no-op records: one filter of four patterns.
#include <cstdio>
#include <cstdlib>
#include <list>
#include <new>
#include <sstream>
#include <string>

#include "catalogue_reader.h"

namespace {
long allocations = 0;
}  // namespace

void* operator new(std::size_t size)
{
    ++allocations;
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
    std::istringstream input(text);
    long before = allocations;
    std::list<PluginModule> records = ReadCatalogue(input);
    long read = allocations - before;
    before = allocations;
    std::list<PluginModule> copies(records);
    long copied = allocations - before;
    std::printf("%zu records: %.1f allocations per record read, %.1f per record copied\n", records.size(),
                static_cast<double>(read) / kRecords, static_cast<double>(copied) / kRecords);
    return records.size() == kRecords ? 0 : 1;
}
