#include "file_info_conversion.h"

#include <cstring>
#include <string>

#include "code_page_text.h"
#include "entry_table_layout.h"

namespace {

// A name field need not hold its terminating zero when it is full.
template <std::size_t Size>
void ConvertName(const char (&ansi)[Size], WCHAR (&wide)[Size])
{
    const std::wstring text = WideFromAnsi(std::string(ansi, strnlen(ansi, Size)));
    const std::size_t units = WholeUnits(text, Size - 1);
    std::memset(wide, 0, sizeof wide);
    std::memcpy(wide, text.data(), units * sizeof(WCHAR));
}

// Unlocks on every way out; the block stays its owner's.
class LockedBlock {
public:
    explicit LockedBlock(HLOCAL block) : block_(block), data_(LocalLock(block)) {}
    ~LockedBlock()
    {
        if (data_)
            LocalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    void* Data() const { return data_; }

private:
    HLOCAL block_;
    void* data_;
};

}  // namespace

void ConvertFileInfo(const SpiFileInfo& ansi, SpiFileInfoW& wide)
{
    std::memset(&wide, 0, sizeof wide);
    std::memcpy(wide.method, ansi.method, sizeof wide.method);
    wide.position = ansi.position;
    wide.compressedSize = ansi.compressedSize;
    wide.fileSize = ansi.fileSize;
    wide.timestamp = ansi.timestamp;
    ConvertName(ansi.path, wide.path);
    ConvertName(ansi.fileName, wide.fileName);
    wide.crc = ansi.crc;
}

HLOCAL ConvertFileInfoTable(HLOCAL ansiTable)
{
    LockedBlock source(ansiTable);
    const auto* bytes = static_cast<const unsigned char*>(source.Data());
    const std::size_t size = bytes ? LocalSize(ansiTable) : 0;
    // Some x64 plug-ins write their tables without the records' closing padding.
    const std::size_t step = EntryTableStep(bytes, size, sizeof(SpiFileInfo), kFileInfoFieldsSize);
    const std::size_t room = size / step;
    std::size_t count = 0;
    while (count < room && bytes[count * step] != 0)
        ++count;
    // Fixed memory: its handle is its address, for hosts that use it without LocalLock.
    HLOCAL wideTable = LocalAlloc(LPTR, (count + 1) * sizeof(SpiFileInfoW));
    if (!wideTable)
        return nullptr;
    auto* wideRecords = static_cast<SpiFileInfoW*>(wideTable);
    for (std::size_t i = 0; i < count; ++i) {
        SpiFileInfo record = {};
        std::memcpy(&record, bytes + i * step, step);
        ConvertFileInfo(record, wideRecords[i]);
    }
    return wideTable;
}
