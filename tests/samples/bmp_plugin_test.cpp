#include <gtest/gtest.h>

#include <cstring>

#include "bmp_writer.h"
#include "sample_plugins.h"
#include "test_files.h"
#include "set_names.h"

namespace {

struct Dib {
    BITMAPINFOHEADER header = {};
    std::string info;
    std::string bits;

    std::uint32_t Colour(std::int32_t x, std::int32_t yFromTop) const
    {
        std::size_t stride = (std::size_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
        const auto* row = reinterpret_cast<const unsigned char*>(bits.data()) +
                          stride * std::size_t(header.biHeight - 1 - yFromTop);
        int depth = header.biBitCount;
        if (depth <= 8) {
            int perByte = 8 / depth;
            unsigned index = (row[x / perByte] >> (8 - depth * (x % perByte + 1))) & ((1u << depth) - 1);
            const auto* entry = reinterpret_cast<const unsigned char*>(info.data()) + 40 + 4 * index;
            return entry[2] << 16 | entry[1] << 8 | entry[0];
        }
        const unsigned char* pixel = row + x * (depth / 8);
        return pixel[2] << 16 | pixel[1] << 8 | pixel[0];
    }
};

class BmpPlugin : public ::testing::Test {
protected:
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_BMP);
    TempFolder folder;

    int Decode(LPCSTR buf, LONG_PTR len, unsigned int flag, Dib& dib, bool preview = false)
    {
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        auto* decode = preview ? plugin.GetPreview : plugin.GetPicture;
        int result = decode(buf, len, flag, &info, &bits, nullptr, 0);
        if (result == 0) {
            dib.info = TakeBlock(info);
            dib.bits = TakeBlock(bits);
            if (dib.info.size() >= sizeof dib.header)
                std::memcpy(&dib.header, dib.info.data(), sizeof dib.header);
        }
        return result;
    }

    // Every pixel of the decoded picture against the image it was written from.
    void ExpectPicture(const Dib& dib, const BmpImage& image, const std::string& label)
    {
        ASSERT_EQ(dib.header.biSize, 40u) << label;
        EXPECT_EQ(dib.header.biWidth, image.width) << label;
        EXPECT_EQ(dib.header.biHeight, image.height) << label;  // always bottom-up
        EXPECT_EQ(dib.header.biBitCount, image.bitsPerPixel) << label;
        EXPECT_EQ(dib.header.biCompression, static_cast<DWORD>(BI_RGB)) << label;
        std::size_t paletteEntries = image.bitsPerPixel <= 8 ? 1u << image.bitsPerPixel : 0;
        EXPECT_EQ(dib.header.biClrUsed, paletteEntries) << label;
        ASSERT_GE(dib.info.size(), 40 + 4 * paletteEntries) << label;
        std::size_t stride = (std::size_t(image.width) * image.bitsPerPixel + 31) / 32 * 4;
        ASSERT_GE(dib.bits.size(), stride * image.height) << label;
        int wrong = 0;
        for (std::int32_t y = 0; y < image.height; ++y) {
            for (std::int32_t x = 0; x < image.width; ++x) {
                if (dib.Colour(x, y) != ExpectedColour(image, x, y) && ++wrong <= 3)
                    ADD_FAILURE() << label << ": pixel " << x << "," << y << " is " << std::hex << dib.Colour(x, y)
                                  << ", expected " << ExpectedColour(image, x, y);
            }
        }
        EXPECT_EQ(wrong, 0) << label;
    }
};

// Odd sizes, so that rows need padding at every depth.
TEST_F(BmpPlugin, DecodesEveryDepthAndOrderFromFileAndMemory)
{
    const std::uint16_t depths[] = {1, 4, 8, 24, 32};
    const std::string junk(77, 'J');  // data before the bitmap, skipped through the offset
    for (std::uint16_t depth : depths) {
        for (bool topDown : {false, true}) {
            BmpImage image = PatternImage(13, 7, depth, topDown);
            std::string bytes = WriteBmp(image);
            std::string label = std::to_string(depth) + (topDown ? " bits top-down" : " bits bottom-up");

            Dib fromMemory;
            ASSERT_EQ(Decode(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, fromMemory), 0)
                << label;
            ExpectPicture(fromMemory, image, label + " from memory");

            std::string path = folder / "picture.bmp";
            WriteFileBytes(path, junk + bytes);
            Dib fromFile;
            ASSERT_EQ(Decode(path.c_str(), static_cast<LONG_PTR>(junk.size()), kSpiInputFile, fromFile), 0) << label;
            ExpectPicture(fromFile, image, label + " from a file at an offset");
        }
    }
}

TEST_F(BmpPlugin, DecodesHeaderVariants)
{
    struct Case {
        const char* label;
        BmpImage image;
    };
    std::vector<Case> cases;
    cases.push_back({"core header, 8 bits", PatternImage(9, 5, 8, false)});
    cases.back().image.headerSize = 12;
    cases.push_back({"core header, 24 bits", PatternImage(9, 5, 24, false)});
    cases.back().image.headerSize = 12;
    cases.push_back({"palette count left 0", PatternImage(9, 5, 4, true)});
    cases.back().image.writeColorsUsed = false;
    cases.push_back({"gap before the pixels", PatternImage(9, 5, 24, false)});
    cases.back().image.gapBeforePixels = 33;
    cases.push_back({"last row unpadded", PatternImage(9, 5, 24, false)});
    cases.back().image.padLastRow = false;
    cases.push_back({"version 5 header", PatternImage(9, 5, 32, true)});
    cases.back().image.headerSize = 124;
    for (const Case& test : cases) {
        std::string bytes = WriteBmp(test.image);
        Dib dib;
        ASSERT_EQ(Decode(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, dib), 0) << test.label;
        ExpectPicture(dib, test.image, test.label);
    }
}

// A short palette fills the first entries; pixels may only use those.
TEST_F(BmpPlugin, ShortPaletteIsPaddedToFullSize)
{
    BmpImage image = PatternImage(6, 3, 8, false);
    image.palette.resize(5);
    for (std::uint32_t& pixel : image.pixels)
        pixel %= 5;
    std::string bytes = WriteBmp(image);
    Dib dib;
    ASSERT_EQ(Decode(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, dib), 0);
    ExpectPicture(dib, image, "five colours");
    const auto* unused = reinterpret_cast<const unsigned char*>(dib.info.data()) + 40 + 4 * 5;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(unused), 4 * 251), std::string(4 * 251, '\0'));
}

TEST_F(BmpPlugin, PreviewIsThePicture)
{
    BmpImage image = PatternImage(5, 4, 8, true);
    std::string bytes = WriteBmp(image);
    Dib dib;
    ASSERT_EQ(Decode(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, dib, true), 0);
    ExpectPicture(dib, image, "preview");
}

TEST_F(BmpPlugin, PictureInfoDescribesTheFile)
{
    std::string bytes = WriteBmp(PatternImage(300, 200, 4, true));
    SpiPictureInfo info;
    std::memset(&info, 0xCC, sizeof info);
    ASSERT_EQ(plugin.GetPictureInfo(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, &info), 0);
    EXPECT_EQ(info.left, 0);
    EXPECT_EQ(info.top, 0);
    EXPECT_EQ(info.width, 300);
    EXPECT_EQ(info.height, 200);
    EXPECT_EQ(info.colorDepth, 4);
    EXPECT_EQ(info.xDensity, 72);  // 2835 pixels per metre
    EXPECT_EQ(info.yDensity, 72);
    std::string text = TakeBlock(info.hInfo);
    EXPECT_NE(text.find("4 bits per pixel, stored top-down; read by " BRISK_SAMPLE_BMP), std::string::npos) << text;
}

TEST_F(BmpPlugin, IsSupportedReadsAHeadBufferOrAFileHandle)
{
    const std::pair<std::string, int> cases[] = {
        {WriteBmp(PatternImage(4, 4, 24, false)), 1},
        {"PK\x03\x04" + std::string(3000, 'x'), 0},
    };
    for (const auto& [bytes, expected] : cases) {
        std::string head = bytes.substr(0, 2048);
        head.resize(2048, '\0');
        EXPECT_EQ(plugin.IsSupported("any.name", reinterpret_cast<ULONG_PTR>(head.data())), expected);

        std::string path = folder / "probe.bin";
        WriteFileBytes(path, "XY" + bytes);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFilePointer(file, 2, nullptr, FILE_BEGIN);
        EXPECT_EQ(plugin.IsSupported("any.name", reinterpret_cast<ULONG_PTR>(file)), expected);
        // The host's file position is left where it was.
        EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 2u);
        CloseHandle(file);
    }
}

int WINAPI StopAtOnce(int, int, LONG_PTR calls)
{
    ++*reinterpret_cast<int*>(calls);
    return 1;
}

int WINAPI CountCalls(int done, int total, LONG_PTR calls)
{
    EXPECT_LE(done, total);
    ++*reinterpret_cast<int*>(calls);
    return 0;
}

TEST_F(BmpPlugin, ProgressCallbackIsCalledAndCanCancel)
{
    std::string bytes = WriteBmp(PatternImage(10, 200, 8, false));
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    int calls = 0;
    EXPECT_EQ(plugin.GetPicture(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, &info, &bits,
                                StopAtOnce, reinterpret_cast<LONG_PTR>(&calls)),
              1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(bits, nullptr);

    calls = 0;
    ASSERT_EQ(plugin.GetPicture(bytes.data(), static_cast<LONG_PTR>(bytes.size()), kSpiInputMemory, &info, &bits,
                                CountCalls, reinterpret_cast<LONG_PTR>(&calls)),
              0);
    EXPECT_GE(calls, 2);
    TakeBlock(info);
    TakeBlock(bits);
}

TEST_F(BmpPlugin, InformationAndAboutBox)
{
    char text[64];
    EXPECT_EQ(plugin.GetPluginInfo(0, text, sizeof text), 4);
    EXPECT_STREQ(text, "00IN");
    ASSERT_GT(plugin.GetPluginInfo(2, text, sizeof text), 0);
    EXPECT_STREQ(text, "*.bmp;*.dib");
    EXPECT_EQ(plugin.GetPluginInfo(4, text, sizeof text), 0);
    EXPECT_EQ(plugin.GetPluginInfo(1, text, 8), 7);  // cut to the buffer
    EXPECT_EQ(std::strlen(text), 7u);
    int result = -99;
    EXPECT_NE(ShowAndCloseAbout(plugin.ConfigurationDlg, result).find("BriskSPI sample bitmap reader 1.0"),
              std::string::npos);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(plugin.ConfigurationDlg(nullptr, 1), -1);
    EXPECT_EQ(plugin.ConfigurationDlg(nullptr, 2), -1);
}

}  // namespace
