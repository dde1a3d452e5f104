#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "dib_file.h"
#include "output_names.h"

namespace {

TEST(SpihostOutputNames, FoldersNeverLeaveTheTarget)
{
    const std::pair<const char*, const char*> folders[] = {
        {"", ""},
        {"docs\\", "docs\\"},
        {"a/b/", "a\\b\\"},
        {"..\\..\\", ""},
        {"\\\\server\\share\\", "server\\share\\"},
        {"C:\\Windows\\", "C_\\Windows\\"},
        {"a\\.\\b", "a\\b\\"},
        {"con\\x", "_con\\x\\"},
    };
    for (const auto& [folder, expected] : folders)
        EXPECT_EQ(SafeRelativeFolder(folder), expected) << folder;

    const std::pair<const char*, const char*> names[] = {
        {"a.txt", "a.txt"}, {"..", "entry"}, {"", "entry"}, {"x/../y.txt", "y.txt"}, {"a:b", "a_b"}, {"AUX", "_AUX"},
    };
    for (const auto& [name, expected] : names)
        EXPECT_EQ(SafeFileName(name), expected) << name;
}

std::string InfoHeader(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colorsUsed)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biClrUsed = colorsUsed;
    return std::string(reinterpret_cast<const char*>(&header), sizeof header);
}

TEST(SpihostBmpFile, ComposesOnlyWhatTheBlocksHold)
{
    struct Case {
        const char* label;
        std::string info;
        std::size_t bitsSize;
        bool ok;
        std::size_t fileSize;
    };
    const Case cases[] = {
        {"24 bits", InfoHeader(3, 2, 24, 0), 24, true, 14 + 40 + 24},
        {"8 bits, full palette", InfoHeader(3, 2, 8, 0) + std::string(1024, 'p'), 8, true, 14 + 40 + 1024 + 8},
        {"8 bits, 2 colours", InfoHeader(3, 2, 8, 2) + std::string(8, 'p'), 8, true, 14 + 40 + 8 + 8},
        {"top-down", InfoHeader(3, -2, 24, 0), 24, true, 14 + 40 + 24},
        {"palette missing", InfoHeader(3, 2, 8, 0), 8, false, 0},
        {"bits too short", InfoHeader(3, 2, 24, 0), 23, false, 0},
        {"header too short", InfoHeader(3, 2, 24, 0).substr(0, 39), 24, false, 0},
        {"width 0", InfoHeader(0, 2, 24, 0), 24, false, 0},
        {"huge", InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 32, 0), 24, false, 0},
    };
    std::string bits(64, 'b');
    for (const Case& test : cases) {
        std::string file;
        DibSummary summary;
        std::string problem;
        bool ok = ComposeBmpFile(reinterpret_cast<const unsigned char*>(test.info.data()), test.info.size(),
                                 reinterpret_cast<const unsigned char*>(bits.data()), test.bitsSize, file, summary,
                                 problem);
        EXPECT_EQ(ok, test.ok) << test.label << ": " << problem;
        if (!ok)
            continue;
        EXPECT_EQ(file.size(), test.fileSize) << test.label;
        EXPECT_EQ(file.substr(0, 2), "BM");
        std::uint32_t offset;
        std::memcpy(&offset, file.data() + 10, 4);
        EXPECT_EQ(offset, 14 + test.info.size()) << test.label;
    }
}

}  // namespace
