// Loads both front plug-ins, probes, decodes, extracts and unloads them again and
// again in one process: afterwards nothing of the system stays loaded, and the
// process's private memory, handle count and TLS indexes are where they were after
// warming up.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "bmp_writer.h"
#include "front_host.h"
#include "process_figures.h"
#include "tar_writer.h"
#include "set_names.h"

namespace {

constexpr int kWarmUpCycles = 100;
constexpr int kCheckEvery = 50;
// Flat means: after the last cycle, no more handles or TLS indexes than these, and
// less than this much more private memory per cycle, than after the warm-up. A leak of
// one handle or index per cycle exceeds them many times over. Memory: under Wine a
// cycle keeps a few hundred bytes (the runtime's small lock records, which nothing
// frees); a decoded picture or a catalogue file kept per cycle is well past the bound.
constexpr GrowthBounds kFlat = {2 * 1024, 4, 1};

// The first 2 KB of a file, as a host hands them to IsSupported.
std::string HeadBuffer(const std::string& bytes)
{
    std::string head = bytes.substr(0, 2048);
    head.resize(2048, '\0');
    return head;
}

// The installed system, the sample plug-ins (the tar extractor also catalogued as an
// image filter for bitmaps, which it declines), a plug-in that cannot be loaded, and
// the files a host opens. Only the system's own libraries and the samples are loaded,
// so what the figures show is theirs.
class SoakFolder {
public:
    SoakFolder()
    {
        CopyFixture(BRISK_SAMPLE_BMP, BmpPlugin());
        CopyFixture(BRISK_SAMPLE_TAR, TarPlugin());
        picture_ = WriteBmp(PatternImage(64, 48, 24, false));
        text_ = "soak text entry\r\n";
        archive_ = WriteTar({{"a.txt", text_}, {"picture.bmp", picture_}});
        WriteFileBytes(Picture(), picture_);
        WriteFileBytes(Archive(), archive_);
        CreateDirectoryA(Output().c_str(), nullptr);
        folder_.WriteCatalogue(
            CatalogueRecord(folder_ / "missing.spi", "00IN", "Missing", false, {{"*.bmp", "Bitmaps"}}) +
            CatalogueRecord(TarPlugin(), "00IN", "Declines bitmaps", false, {{"*.bmp;*.dib", "Bitmaps"}}) +
            CatalogueRecord(BmpPlugin(), "00IN", "Sample bitmaps", true, {{"*.bmp", "Bitmaps"}}) +
            CatalogueRecord(TarPlugin(), "00AM", "Sample tar", true, {{"*.tar", "Tar archives"}}));
    }

    const FrontFolder& Front() const { return folder_; }
    std::string BmpPlugin() const { return folder_ / BRISK_SAMPLE_BMP; }
    std::string TarPlugin() const { return folder_ / BRISK_SAMPLE_TAR; }
    std::string Picture() const { return folder_ / "picture.bmp"; }
    std::string Archive() const { return folder_ / "archive.tar"; }
    std::string Output() const { return folder_ / "out"; }
    const std::string& PictureBytes() const { return picture_; }
    const std::string& TextEntry() const { return text_; }
    const std::string& ArchiveBytes() const { return archive_; }

private:
    FrontFolder folder_;
    std::string picture_, text_, archive_;
};

// One load-use-unload cycle; fails fatally at the first wrong answer.
void Cycle(const SoakFolder& soak)
{
    const std::string pictureHead = HeadBuffer(soak.PictureBytes());
    const std::string archiveHead = HeadBuffer(soak.ArchiveBytes());
    LoadedFront imp(soak.Front().Imp());
    LoadedFront arc(soak.Front().Arc());

    ASSERT_EQ(imp.PluginInfo(0), "00IN");
    ASSERT_EQ(arc.PluginInfo(3), "Tar archives");
    ASSERT_EQ(imp.IsSupported(soak.Picture().c_str(), reinterpret_cast<ULONG_PTR>(pictureHead.data())), 1);
    SpiPictureInfo info = {};
    ASSERT_EQ(imp.GetPictureInfo(soak.Picture().c_str(), 0, kSpiInputFile, &info), 0);
    ASSERT_EQ(info.width, 64);
    ASSERT_EQ(info.height, 48);
    HLOCAL bitmapInfo = nullptr, bits = nullptr;
    ASSERT_EQ(imp.GetPicture(soak.Picture().c_str(), 0, kSpiInputFile, &bitmapInfo, &bits, nullptr, 0), 0);
    ASSERT_GE(LocalSize(bits), 64u * 48u * 3u);
    LocalFree(bitmapInfo);
    LocalFree(bits);
    ASSERT_EQ(imp.GetPreview(soak.PictureBytes().data(), static_cast<LONG_PTR>(soak.PictureBytes().size()),
                             kSpiInputMemory, &bitmapInfo, &bits, nullptr, 0),
              0);
    LocalFree(bitmapInfo);
    LocalFree(bits);

    ASSERT_EQ(arc.IsSupported(soak.Archive().c_str(), reinterpret_cast<ULONG_PTR>(archiveHead.data())), 1);
    HLOCAL table = nullptr;
    ASSERT_EQ(arc.GetArchiveInfo(soak.Archive().c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_GE(LocalSize(table), 2 * sizeof(SpiFileInfo));
    LocalFree(table);
    SpiFileInfo entry = {};
    ASSERT_EQ(arc.GetFileInfo(soak.Archive().c_str(), 0, "a.txt", kSpiInputFile, &entry), 0);
    HLOCAL extracted = nullptr;
    ASSERT_EQ(arc.GetFile(soak.Archive().c_str(), static_cast<LONG_PTR>(entry.position),
                          reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, nullptr, 0),
              0);
    ASSERT_EQ(LocalSize(extracted), soak.TextEntry().size());
    ASSERT_EQ(std::string(static_cast<const char*>(LocalLock(extracted)), soak.TextEntry().size()), soak.TextEntry());
    LocalUnlock(extracted);
    LocalFree(extracted);
    std::string output = soak.Output();
    ASSERT_EQ(arc.GetFile(soak.Archive().c_str(), static_cast<LONG_PTR>(entry.position), &output[0],
                          kSpiInputFile | kSpiOutputFile, nullptr, 0),
              0);
}

bool AnythingLoaded(const SoakFolder& soak)
{
    for (const std::string& path : {soak.Front().Imp(), soak.Front().Arc(), soak.Front().Registry(), soak.BmpPlugin(),
                                    soak.TarPlugin()}) {
        if (IsLoaded(path))
            return true;
    }
    return false;
}

struct SoakResult {
    int cycles = 0;
    double seconds = 0;
    ProcessFigures warm, last;
    std::string grown;  // empty while the figures stayed within the bounds
};

// Runs up to `cycles` cycles, measuring after the warm-up and then every few cycles.
// With `stopOnGrowth` it ends once the figures have grown past the bounds, so a leak
// ends the run with figures rather than in the crash that running out of TLS indexes
// brings.
SoakResult RunCycles(const SoakFolder& soak, int cycles, bool stopOnGrowth)
{
    SoakResult result;
    auto started = std::chrono::steady_clock::now();
    while (result.cycles < cycles && (result.grown.empty() || !stopOnGrowth)) {
        Cycle(soak);
        ++result.cycles;
        if (testing::Test::HasFatalFailure()) {
            ADD_FAILURE() << "cycle " << result.cycles;
            break;
        }
        if (AnythingLoaded(soak)) {
            ADD_FAILURE() << "a library stayed loaded after cycle " << result.cycles;
            break;
        }
        if (result.cycles == kWarmUpCycles)
            result.warm = MeasureProcess();
        if (result.cycles > kWarmUpCycles && (result.cycles % kCheckEvery == 0 || result.cycles == cycles)) {
            result.last = MeasureProcess();
            result.grown = GrowthPastBounds(result.warm, result.last, result.cycles - kWarmUpCycles, kFlat);
        }
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(ReadFileBytes(soak.Output() + "\\a.txt"), soak.TextEntry());
    std::printf("soak: cycles=%d seconds=%.1f private_after_warmup=%lld private_after_last=%lld "
                "handles_after_warmup=%ld handles_after_last=%ld tls_after_warmup=%ld tls_after_last=%ld\n",
                result.cycles, result.seconds, result.warm.privateBytes, result.last.privateBytes,
                result.warm.handles, result.last.handles, result.warm.tlsIndex, result.last.tlsIndex);
    return result;
}

// Every cycle gives the right answers and unloads everything it loaded.
TEST(Soak, TwoHundredCyclesGiveTheSameAnswersAndLeaveNothingLoaded)
{
    SoakFolder soak;
    const int cycles = 2 * kWarmUpCycles;
    SoakResult result = RunCycles(soak, cycles, false);
    EXPECT_EQ(result.cycles, cycles);
    EXPECT_GT(result.warm.privateBytes, 0) << "no memory figure";
    EXPECT_GT(result.warm.handles, 0) << "no handle figure";
    if (!result.grown.empty())
        std::printf("soak: grown %s\n", result.grown.c_str());
}

// Flat after a thousand cycles: the libraries' statically linked runtime keeps no
// handle or TLS index of an unloaded copy (docs/RELIABILITY.md has the figures).
TEST(Soak, ThousandCyclesKeepMemoryHandlesAndTlsIndexesFlat)
{
    SoakFolder soak;
    const int cycles = 1000;
    SoakResult result = RunCycles(soak, cycles, true);
    ASSERT_GT(result.warm.privateBytes, 0) << "no memory figure";
    ASSERT_GT(result.warm.handles, 0) << "no handle figure";
    EXPECT_EQ(result.grown, "") << "the process grows with every load and unload";
    EXPECT_EQ(result.cycles, cycles);
}

// A host that starts a thread per picture: each thread probes and decodes once and
// ends. What the front plug-in keeps for a thread goes with it, so thousands of such
// threads leave the process as it was after the first few hundred.
TEST(Soak, AThreadPerPictureLeavesNothingBehind)
{
    SoakFolder soak;
    const std::string head = HeadBuffer(soak.PictureBytes());
    LoadedFront imp(soak.Front().Imp());
    auto picture = [&] {
        bool right = imp.IsSupported(soak.Picture().c_str(), reinterpret_cast<ULONG_PTR>(head.data())) == 1;
        HLOCAL info = nullptr, bits = nullptr;
        right = right && imp.GetPicture(soak.Picture().c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0) == 0 &&
                LocalSize(bits) >= 64u * 48u * 3u;
        LocalFree(info);
        LocalFree(bits);
        return right;
    };
    constexpr int kWarmUpThreads = 300;
    constexpr int kThreads = 3000;
    int wrong = 0;
    ProcessFigures warm;
    for (int i = 0; i < kWarmUpThreads + kThreads; ++i) {
        if (i == kWarmUpThreads)
            warm = MeasureProcess();
        std::thread thread([&] { wrong += picture() ? 0 : 1; });
        thread.join();
    }
    const ProcessFigures last = MeasureProcess();
    std::printf("threads: private_after_warmup=%lld private_after_last=%lld handles_after_warmup=%ld "
                "handles_after_last=%ld\n",
                warm.privateBytes, last.privateBytes, warm.handles, last.handles);
    EXPECT_EQ(wrong, 0);
    // A thread's state is a few hundred bytes: kept for each thread, it is past this bound.
    EXPECT_EQ(GrowthPastBounds(warm, last, kThreads, GrowthBounds{64, 4, 1}), "");
}

}  // namespace
