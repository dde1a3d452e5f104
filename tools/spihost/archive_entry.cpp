#include "archive_entry.h"

#include <cstddef>
#include <cstring>

#include "entry_table_layout.h"
#include "host_text.h"

namespace {

template <class Unit>
std::size_t FieldLength(const Unit* field, std::size_t width)
{
    std::size_t length = 0;
    while (length < width && field[length])
        ++length;
    return length;
}

template <class Record>
ArchiveEntry CommonFields(const Record& record)
{
    ArchiveEntry entry;
    const char* method = reinterpret_cast<const char*>(record.method);
    entry.method.assign(method, FieldLength(method, sizeof record.method));
    entry.position = record.position;
    entry.compressedSize = record.compressedSize;
    entry.fileSize = record.fileSize;
    entry.timestamp = record.timestamp;
    return entry;
}

template <class Record>
EntryTable Entries(const unsigned char* table, std::size_t size)
{
    EntryTable read;
    const std::size_t fields = offsetof(Record, crc) + sizeof(Record::crc);
    read.step = EntryTableStep(table, size, sizeof(Record), fields);
    read.unpadded = read.step != sizeof(Record);
    for (std::size_t at = 0; table && size - at >= read.step; at += read.step) {
        Record record = {};
        std::memcpy(&record, table + at, read.step);
        if (record.method[0] == 0) {
            read.terminated = true;
            break;
        }
        read.entries.push_back(EntryOfRecord(record));
    }
    return read;
}

}  // namespace

ArchiveEntry EntryOfRecord(const SpiFileInfo& record)
{
    ArchiveEntry entry = CommonFields(record);
    entry.folder = Utf8FromAnsi(std::string(record.path, FieldLength(record.path, sizeof record.path)));
    entry.fileName = Utf8FromAnsi(std::string(record.fileName, FieldLength(record.fileName, sizeof record.fileName)));
    return entry;
}

ArchiveEntry EntryOfRecord(const SpiFileInfoW& record)
{
    ArchiveEntry entry = CommonFields(record);
    entry.folder = Utf8FromWide(record.path, FieldLength(record.path, 200));
    entry.fileName = Utf8FromWide(record.fileName, FieldLength(record.fileName, 200));
    return entry;
}

EntryTable EntriesOfTable(const unsigned char* table, std::size_t size, bool wide)
{
    return wide ? Entries<SpiFileInfoW>(table, size) : Entries<SpiFileInfo>(table, size);
}
