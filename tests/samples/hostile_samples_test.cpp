// Spoilt, truncated and randomly damaged files: the sample plug-ins must answer
// with error codes, never crash, and never report success for data they lack.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "bmp_writer.h"
#include "sample_plugins.h"
#include "tar_writer.h"
#include "test_files.h"
#include "set_names.h"

namespace {

std::string Patched(std::string bytes, std::size_t at, std::uint32_t value, int width = 4)
{
    std::string encoded;
    for (int i = 0; i < width; ++i)
        encoded.push_back(static_cast<char>(value >> (8 * i)));
    return bytes.replace(at, encoded.size(), encoded);
}

int DecodeFromMemory(const PluginEntryPoints& plugin, const std::string& bytes, std::string* bits = nullptr,
                     std::string* info = nullptr)
{
    HLOCAL infoHandle = nullptr;
    HLOCAL bitsHandle = nullptr;
    int result = plugin.GetPicture(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, &infoHandle,
                                   &bitsHandle, nullptr, 0);
    std::string infoBytes = TakeBlock(infoHandle);
    std::string bitsBytes = TakeBlock(bitsHandle);
    if (bits)
        *bits = bitsBytes;
    if (info)
        *info = infoBytes;
    return result;
}

// Bitmap header offsets: file header 14 bytes, then the info header.
constexpr std::size_t kOffBits = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28,
                      kCompression = 30, kColorsUsed = 46;

TEST(HostileBitmaps, SpoiltFieldsGiveErrorCodes)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_BMP);
    std::string good = WriteBmp(PatternImage(8, 8, 8, false));
    struct Case {
        const char* label;
        std::string bytes;
        int result;
    };
    const Case cases[] = {
        {"empty", "", 5},  // a memory image of no bytes
        {"signature only", "BM", 2},
        {"wrong signature", Patched(good, 0, 'M' | 'B' << 8, 2), 2},
        {"OS/2 2.x header", Patched(good, kHeaderSize, 64), 2},
        {"header size 0", Patched(good, kHeaderSize, 0), 2},
        {"run-length compressed", Patched(good, kCompression, 1), 2},
        {"16 bits per pixel", Patched(good, kBitCount, 16, 2), 2},
        {"7 bits per pixel", Patched(good, kBitCount, 7, 2), 2},
        {"headers cut short", good.substr(0, 30), 3},
        {"two planes", Patched(good, kPlanes, 2, 2), 3},
        {"width 0", Patched(good, kWidth, 0), 3},
        {"negative width", Patched(good, kWidth, static_cast<std::uint32_t>(-8)), 3},
        {"height 0", Patched(good, kHeight, 0), 3},
        {"height -2^31", Patched(good, kHeight, 0x80000000u), 3},
        {"300 palette entries at 8 bits", Patched(good, kColorsUsed, 300), 3},
        {"pixels inside the palette", Patched(good, kOffBits, 60), 3},
        {"pixels past the end", Patched(good, kOffBits, static_cast<std::uint32_t>(good.size())), 3},
        {"pixels offset 4 GB", Patched(good, kOffBits, 0xFFFFFFFFu), 3},
        {"last pixel missing", good.substr(0, good.size() - 1), 3},
        {"2^31 x 2^31 pixels", Patched(Patched(good, kWidth, 0x7FFFFFFF), kHeight, 0x7FFFFFFF), 3},
        {"100000 x 100000 pixels", Patched(Patched(good, kWidth, 100000), kHeight, 100000), 3},
        {"30000 x 30000 pixels, data missing", Patched(Patched(good, kWidth, 30000), kHeight, 30000), 3},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(DecodeFromMemory(plugin, test.bytes), test.result) << test.label;
        SpiPictureInfo info = {};
        EXPECT_EQ(plugin.GetPictureInfo(test.bytes.data(), static_cast<LONG_PTR>(test.bytes.size()), kSpiInputMemory,
                                        &info),
                  test.result)
            << test.label;
        TakeBlock(info.hInfo);
    }
}

TEST(HostileBitmaps, BadInputsGiveReadErrors)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_BMP);
    TempFolder folder;
    std::string path = folder / "small.bmp";
    WriteFileBytes(path, WriteBmp(PatternImage(2, 2, 24, false)));
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    EXPECT_EQ(plugin.GetPicture(path.c_str(), 100000, kSpiInputFile, &info, &bits, nullptr, 0), 6) << "offset past end";
    EXPECT_EQ(plugin.GetPicture(path.c_str(), -1, kSpiInputFile, &info, &bits, nullptr, 0), 6) << "negative offset";
    std::string missing = folder / "missing.bmp";
    EXPECT_EQ(plugin.GetPicture(missing.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0), 6) << "no such file";
    EXPECT_EQ(plugin.GetPicture(nullptr, 10, kSpiInputMemory, &info, &bits, nullptr, 0), 5) << "null image";
    EXPECT_EQ(plugin.GetPicture(path.c_str(), 0, 2, &info, &bits, nullptr, 0), -1) << "unknown input kind";
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(bits, nullptr);
}

// Every prefix shorter than the pixels need fails; from there on the file decodes
// (the last row's padding may be missing).
TEST(HostileBitmaps, EveryTruncationIsRefused)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_BMP);
    std::string good = WriteBmp(PatternImage(5, 6, 4, true));
    std::size_t stride = 4, rowBytes = 3;
    std::size_t needed = good.size() - (stride - rowBytes);
    for (std::size_t length = 0; length <= good.size(); ++length) {
        int result = DecodeFromMemory(plugin, good.substr(0, length));
        if (length < needed)
            EXPECT_NE(result, 0) << length;
        else
            EXPECT_EQ(result, 0) << length;
    }
}

// Whatever damage a header takes, a success hands over blocks as large as the
// header it returns says.
TEST(HostileBitmaps, RandomHeaderDamage)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_BMP);
    std::mt19937 random(20260101);
    const std::uint16_t depths[] = {1, 4, 8, 24, 32};
    int decoded = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = WriteBmp(PatternImage(7, 5, depths[round % 5], round % 2 == 0));
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            bytes[random() % 64] = static_cast<char>(random());
        std::string bits, info;
        if (DecodeFromMemory(plugin, bytes, &bits, &info) != 0)
            continue;
        ++decoded;
        ASSERT_GE(info.size(), sizeof(BITMAPINFOHEADER)) << round;
        BITMAPINFOHEADER header;
        std::memcpy(&header, info.data(), sizeof header);
        ASSERT_GT(header.biWidth, 0);
        ASSERT_GT(header.biHeight, 0);
        std::size_t stride = (std::size_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
        EXPECT_GE(bits.size(), stride * header.biHeight) << round;
        EXPECT_GE(info.size(), 40 + 4 * std::size_t(header.biClrUsed)) << round;
    }
    // Damage to unused header bytes leaves pictures readable; the check above ran.
    EXPECT_GT(decoded, 0);
}

int ListFromMemory(const PluginEntryPoints& plugin, const std::string& bytes, std::vector<SpiFileInfo>& entries)
{
    HLOCAL table = nullptr;
    int result = plugin.GetArchiveInfo(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, &table);
    std::string block = TakeBlock(table);
    const auto* records = reinterpret_cast<const SpiFileInfo*>(block.data());
    for (std::size_t i = 0; i < block.size() / sizeof(SpiFileInfo) && records[i].method[0]; ++i)
        entries.push_back(records[i]);
    return result;
}

// Tar header offsets.
constexpr std::size_t kSizeField = 124, kChecksumField = 148;

std::string WithField(std::string block, std::size_t at, const std::string& text)
{
    block.replace(at, text.size(), text);
    // Recompute the checksum so that only the spoilt field is wrong.
    block.replace(kChecksumField, 8, "        ");
    unsigned long sum = 0;
    for (unsigned char byte : block)
        sum += byte;
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%06lo", sum);
    block.replace(kChecksumField, 7, std::string(checksum, 6) + std::string(1, '\0'));
    return block;
}

TEST(HostileArchives, SpoiltHeadersGiveErrorCodes)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_TAR);
    TarMember member{"a.txt", std::string(100, 'a')};
    std::string header = TarHeaderBlock(member);
    std::string data = member.content + std::string(412, '\0');
    std::string good = WriteTar({member, member});
    std::string badChecksum = header;
    badChecksum[0] = 'b';
    struct Case {
        const char* label;
        std::string bytes;
        int result;
    };
    const Case cases[] = {
        {"shorter than a block", good.substr(0, 511), 2},
        {"no signature", std::string(1024, 'x'), 2},
        {"first checksum wrong", badChecksum + data, 2},
        {"second checksum wrong", header + data + badChecksum + data, 3},
        {"size past the end", WithField(header, kSizeField, "00000077777") + data, 3},
        {"size of 8 GB", WithField(header, kSizeField, "77777777777") + data, 3},
        {"size not octal", WithField(header, kSizeField, "0000001x9  ") + data, 3},
        {"size empty", WithField(header, kSizeField, std::string(12, '\0')) + data, 3},
        {"size in base 256", WithField(header, kSizeField, std::string("\x80\0\0\0\0\0\0\0\0\0\x01\0", 12)) + data, 3},
        {"empty name", WithField(header, 0, std::string(100, '\0')) + data, 3},
        {"garbage after the first entry", header + data + std::string(512, 'g'), 3},
    };
    for (const Case& test : cases) {
        std::vector<SpiFileInfo> entries;
        EXPECT_EQ(ListFromMemory(plugin, test.bytes, entries), test.result) << test.label;
        SpiFileInfo info = {};
        EXPECT_NE(plugin.GetFileInfo(test.bytes.data(), static_cast<LONG_PTR>(test.bytes.size()), "a.txt",
                                     kSpiInputMemory, &info),
                  0)
            << test.label;
    }
}

// Every prefix either fails or lists only entries whose data it holds.
TEST(HostileArchives, EveryTruncationStaysInBounds)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_TAR);
    std::string good = WriteTar({{"a.txt", std::string(700, 'a')}, {"b.txt", "b"}, {"c.txt", std::string(1024, 'c')}});
    for (std::size_t length = 0; length <= good.size(); length += (length < 4096 ? 1 : 37)) {
        std::string prefix = good.substr(0, length);
        std::vector<SpiFileInfo> entries;
        if (ListFromMemory(plugin, prefix, entries) != 0)
            continue;
        for (const SpiFileInfo& entry : entries) {
            EXPECT_LE(entry.position + 512 + entry.fileSize, length) << length << " " << entry.fileName;
            HLOCAL block = nullptr;
            std::size_t at = entry.position;
            int result = plugin.GetFile(prefix.data() + at, static_cast<LONG_PTR>(prefix.size() - at),
                                        reinterpret_cast<LPSTR>(&block), kSpiInputMemory | kSpiOutputMemory, nullptr, 0);
            EXPECT_EQ(result, 0) << length << " " << entry.fileName;
            EXPECT_EQ(TakeBlock(block).substr(0, entry.fileSize), good.substr(at + 512, entry.fileSize));
        }
    }
}

// GetFile from memory with a length that cuts the entry's data refuses it.
TEST(HostileArchives, GetFileNeverReadsPastTheImage)
{
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_TAR);
    std::string good = WriteTar({{"a.txt", std::string(700, 'a')}});
    for (LONG_PTR length : {LONG_PTR(0), LONG_PTR(511), LONG_PTR(512), LONG_PTR(512 + 699)}) {
        HLOCAL block = nullptr;
        int result = plugin.GetFile(good.data(), length, reinterpret_cast<LPSTR>(&block),
                                    kSpiInputMemory | kSpiOutputMemory, nullptr, 0);
        EXPECT_NE(result, 0) << length;
        EXPECT_EQ(block, nullptr);
    }
}

}  // namespace
