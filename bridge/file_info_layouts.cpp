#include "file_info_layouts.h"

#include <cstdint>
#include <cstring>

#include "entry_table_layout.h"

using bridge::FileInfo32;
using bridge::FileInfoW32;

namespace {

bool FitsUnsigned32(std::uint64_t value)
{
    return value <= UINT32_MAX;
}

// The 32-bit record's time stamp is a signed 32-bit time, as hosts read it.
bool FitsSigned32(std::int64_t value)
{
    return value >= INT32_MIN && value <= INT32_MAX;
}

// False when the entry's position or a size does not fit: a host could not reach the
// entry's data through it. A time stamp that does not fit becomes 0, "no time", as
// plug-ins give for entries without one: the entry stays usable, and no wrong date
// is shown.
template <class Narrow, class Wide>
bool Narrowed(const Wide& record, Narrow& narrow)
{
    std::memcpy(narrow.method, record.method, sizeof narrow.method);
    narrow.position = static_cast<std::uint32_t>(record.position);
    narrow.compressedSize = static_cast<std::uint32_t>(record.compressedSize);
    narrow.fileSize = static_cast<std::uint32_t>(record.fileSize);
    narrow.timestamp = FitsSigned32(record.timestamp) ? static_cast<std::int32_t>(record.timestamp) : 0;
    std::memcpy(narrow.path, record.path, sizeof narrow.path);
    std::memcpy(narrow.fileName, record.fileName, sizeof narrow.fileName);
    narrow.crc = record.crc;
    return FitsUnsigned32(record.position) && FitsUnsigned32(record.compressedSize) &&
           FitsUnsigned32(record.fileSize);
}

template <class Narrow, class Wide>
void Widened(const Narrow& narrow, Wide& record)
{
    // The host's record may hold anything in the x64 padding; a plug-in of this width
    // leaves it zero.
    std::memset(&record, 0, sizeof record);
    std::memcpy(record.method, narrow.method, sizeof narrow.method);
    record.position = narrow.position;
    record.compressedSize = narrow.compressedSize;
    record.fileSize = narrow.fileSize;
    record.timestamp = narrow.timestamp;  // a signed 32-bit time, as the plug-in's
    std::memcpy(record.path, narrow.path, sizeof narrow.path);
    std::memcpy(record.fileName, narrow.fileName, sizeof narrow.fileName);
    record.crc = narrow.crc;
}

template <class Narrow, class Wide>
void WidenBytes(const unsigned char* bytes, std::size_t size, Wide& record)
{
    if (size < sizeof(Narrow))
        return;
    Narrow narrow;
    std::memcpy(&narrow, bytes, sizeof narrow);
    Widened(narrow, record);
}

template <class Narrow, class Wide>
HLOCAL WidenTable(HLOCAL narrowTable)
{
    const auto* bytes = static_cast<const unsigned char*>(LocalLock(narrowTable));
    const std::size_t available = bytes ? LocalSize(narrowTable) / sizeof(Narrow) : 0;
    std::size_t records = 0;
    while (records < available && bytes[records * sizeof(Narrow)] != 0)
        ++records;
    HLOCAL table = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, (records + 1) * sizeof(Wide));
    if (table) {
        auto* wide = static_cast<Wide*>(LocalLock(table));
        for (std::size_t i = 0; i < records; ++i) {
            Narrow narrow;
            std::memcpy(&narrow, bytes + i * sizeof(Narrow), sizeof narrow);
            Widened(narrow, wide[i]);
        }
        LocalUnlock(table);
    }
    if (bytes)
        LocalUnlock(narrowTable);
    return table;
}

// `fields`: the record's size without its closing padding, the step of tables that
// some plug-ins write without it.
template <class Narrow, class Wide>
std::vector<unsigned char> NarrowTable(HLOCAL wideTable, std::size_t fields)
{
    const auto* bytes = static_cast<const unsigned char*>(LocalLock(wideTable));
    const std::size_t size = bytes ? LocalSize(wideTable) : 0;
    const std::size_t step = EntryTableStep(bytes, size, sizeof(Wide), fields);
    const std::size_t available = size / step;
    std::vector<unsigned char> narrowTable;
    for (std::size_t i = 0; i < available && bytes[i * step] != 0; ++i) {
        Wide record;
        std::memset(&record, 0, sizeof record);
        std::memcpy(&record, bytes + i * step, step);
        Narrow narrow;
        if (!Narrowed(record, narrow))
            continue;
        const auto* narrowBytes = reinterpret_cast<const unsigned char*>(&narrow);
        narrowTable.insert(narrowTable.end(), narrowBytes, narrowBytes + sizeof narrow);
    }
    narrowTable.resize(narrowTable.size() + sizeof(Narrow), 0);
    if (bytes)
        LocalUnlock(wideTable);
    return narrowTable;
}

}  // namespace

bool NarrowFileInfo(const SpiFileInfo& record, FileInfo32* narrow)
{
    return Narrowed(record, *narrow);
}

bool NarrowFileInfo(const SpiFileInfoW& record, FileInfoW32* narrow)
{
    return Narrowed(record, *narrow);
}

void WidenFileInfo(const unsigned char* bytes, std::size_t size, SpiFileInfo& record)
{
    WidenBytes<FileInfo32>(bytes, size, record);
}

void WidenFileInfo(const unsigned char* bytes, std::size_t size, SpiFileInfoW& record)
{
    WidenBytes<FileInfoW32>(bytes, size, record);
}

HLOCAL WidenFileInfoTable(HLOCAL narrow, char)
{
    return WidenTable<FileInfo32, SpiFileInfo>(narrow);
}

HLOCAL WidenFileInfoTable(HLOCAL narrow, wchar_t)
{
    return WidenTable<FileInfoW32, SpiFileInfoW>(narrow);
}

std::vector<unsigned char> NarrowFileInfoTable(HLOCAL table, char)
{
    return NarrowTable<FileInfo32, SpiFileInfo>(table, kFileInfoFieldsSize);
}

std::vector<unsigned char> NarrowFileInfoTable(HLOCAL table, wchar_t)
{
    return NarrowTable<FileInfoW32, SpiFileInfoW>(table, kFileInfoWFieldsSize);
}
