// spihost's choice of record step for x64 entry tables, on tables built byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "entry_table_layout.h"

namespace {

// `entries` records and a closing one in steps of `step` bytes, then `slack` bytes.
// Short methods are the hard case: read in the wrong step, the table seems to close
// right after the first record.
std::vector<unsigned char> Table(std::size_t step, std::size_t fields, int entries, std::size_t slack,
                                 unsigned char padding = 0)
{
    std::vector<unsigned char> table((entries + 1) * step + slack, 0);
    for (int i = 0; i < entries; ++i) {
        unsigned char* record = &table[i * step];
        std::memcpy(record, "LZH", 3);
        record[8] = static_cast<unsigned char>(i);
        std::memset(record + 40, 'n', 20);
        std::memset(record + fields - 4, 0x5A, 4);  // crc
        if (step > fields)
            std::memset(record + fields, padding, step - fields);
    }
    return table;
}

TEST(SpihostEntryTable, StepFollowsTheTableNotTheRecordSize)
{
    struct Case {
        std::size_t padded, unpadded, step;
        int entries;
        std::size_t slack;
        unsigned char padding;
    };
    const Case cases[] = {
        {848, 844, 848, 3, 0, 0},    {848, 844, 844, 3, 0, 0},
        {848, 844, 848, 3, 40, 0},   {848, 844, 844, 3, 16, 0},  // 4 * 844 + 16 is a multiple of 848
        {848, 844, 844, 3, 37, 0},   {848, 844, 848, 3, 0, 0xCC},  // dirty padding, exact size
        {848, 844, 844, 1, 0, 0},    {848, 844, 848, 0, 0, 0},
        {448, 444, 444, 5, 0, 0},    {448, 444, 448, 5, 12, 0},
        {828, 828, 828, 3, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<unsigned char> table =
            Table(c.step, c.unpadded, c.entries, c.slack, c.padding);
        EXPECT_EQ(EntryTableStep(table.data(), table.size(), c.padded, c.unpadded), c.step)
            << c.padded << "/" << c.unpadded << ": " << c.entries << " entries in steps of " << c.step << ", "
            << c.slack << " bytes after";
    }
    EXPECT_EQ(EntryTableStep(nullptr, 0, 848, 844), 848u);
}

}  // namespace
