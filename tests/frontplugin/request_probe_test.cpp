// A dispatching request for a file other than the last probed one: when the last
// probe's candidates cannot serve it, the front plug-in probes that file itself,
// with its first 2 KB, and asks that file's plug-ins.
#include <gtest/gtest.h>

#include "front_host.h"
#include "owned_handle.h"

namespace {

// GetPicture's result; the picture, if any, is dropped.
int RequestPicture(const LoadedFront& front, const std::string& name, unsigned int flag = kSpiInputFile)
{
    HLOCAL bitmapInfo = nullptr;
    HLOCAL bitmapBits = nullptr;
    int result = front.GetPicture(name.c_str(), 0, flag, &bitmapInfo, &bitmapBits, nullptr, 0);
    LocalFree(bitmapInfo);
    LocalFree(bitmapBits);
    return result;
}

TEST(RequestProbe, RequestWithoutAProbeReadsTheFileHeaderItself)
{
    struct Case {
        const char* name;
        std::string content;
        std::string header;  // as the fake logs it: text up to the first zero, non-zero bytes
    };
    const std::string longContent = std::string(2047, 'p') + "QR" + std::string(500, 'z');
    const Case cases[] = {
        {"shorter than 2 KB: zero-padded", "FAKE picture", "header|FAKE picture|12"},
        {"longer than 2 KB: cut", longContent, "header|" + longContent.substr(0, 2048) + "|2048"},
        {"empty", "", "header||0"},
    };
    for (const Case& c : cases) {
        FrontFolder folder;
        FakePlugin image = folder.AddFake("image.spi", "image", "IsSupported.header=1\n");
        folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.fk", "Fake pictures"}}));
        const std::string photo = folder / "photo.fk";
        WriteFileBytes(photo, c.content);
        LoadedFront front(folder.Imp());
        EXPECT_EQ(RequestPicture(front, photo), 0) << c.name;
        EXPECT_EQ(image.Count("IsSupported|" + photo + "|"), 1) << c.name;
        EXPECT_EQ(image.Count(c.header), 1) << c.name;
        // The file is the last probed one now: its next request costs no probe.
        EXPECT_EQ(front.GetPictureInfo(photo.c_str(), 0, kSpiInputFile, nullptr), 0) << c.name;
        EXPECT_EQ(image.Count("IsSupported|"), 1) << c.name;
        EXPECT_EQ(image.Count("GetPictureInfo|" + photo), 1) << c.name;
    }
}

TEST(RequestProbe, OnlyPluginsWhosePatternsMatchTheFileAreLoadedAndAsked)
{
    FrontFolder folder;
    FakePlugin probed = folder.AddFake("probed.spi", "image", "GetPicture=3\n");
    FakePlugin never = folder.AddFake("never.spi", "image", "");
    FakePlugin refuses = folder.AddFake("refuses.spi", "image", "IsSupported=0\n");
    // Calls IsSupported of the front plug-in, with a name its own "b*" would accept, from
    // its IsSupported and its GetPicture: refused both times while the export runs.
    FakePlugin reader = folder.AddFake("reader.spi", "image", "reenter=" BRISK_IMAGE_FRONT "\nmark=9\n");
    folder.WriteCatalogue(FakeRecord(probed, "00IN", {{"*.aa", "A"}}) + FakeRecord(never, "00IN", {{"*.cc", "C"}}) +
                          FakeRecord(refuses, "00IN", {{"*.xx", "X"}, {"*.bb", "B"}}) +
                          FakeRecord(reader, "00IN", {{"*.bb;b*", "B"}}));
    const std::string b = folder / "b.bb";
    WriteFileBytes(b, "B picture");
    LoadedFront front(folder.Imp());
    ASSERT_EQ(front.IsSupported("a.aa", 0), 1);

    // The last probe's candidate serves it: nothing else is loaded or asked.
    SpiPictureInfo info = {};
    EXPECT_EQ(front.GetPictureInfo(b.c_str(), 0, kSpiInputFile, &info), 0);
    for (const FakePlugin* fake : {&never, &refuses, &reader})
        EXPECT_EQ(fake->Count("attach"), 0) << fake->Path();

    // It fails: B's plug-ins are probed once each, in catalogue order, and B's reader answers.
    HLOCAL bitmapInfo = nullptr;
    HLOCAL bitmapBits = nullptr;
    EXPECT_EQ(front.GetPicture(b.c_str(), 0, kSpiInputFile, &bitmapInfo, &bitmapBits, nullptr, 0), 0);
    ASSERT_NE(bitmapBits, nullptr);
    EXPECT_EQ(static_cast<BYTE*>(LocalLock(bitmapBits))[0], 9);
    LocalUnlock(bitmapBits);
    LocalFree(bitmapInfo);
    LocalFree(bitmapBits);
    EXPECT_EQ(probed.Count("IsSupported|"), 1);
    EXPECT_EQ(probed.Count("GetPicture|" + b), 1);
    EXPECT_EQ(never.Count("attach"), 0);
    EXPECT_EQ(refuses.Count("IsSupported|" + b + "|"), 1);
    EXPECT_EQ(refuses.Count("GetPicture|"), 0);
    EXPECT_EQ(reader.Count("IsSupported|" + b + "|"), 1);
    EXPECT_EQ(reader.Count("reenter|IsSupported|0"), 2);
    EXPECT_EQ(reader.Count("GetPicture|" + b), 1);

    // B's probe replaced the candidates: a memory image now goes to B's reader alone.
    const char image[] = "image bytes";
    EXPECT_EQ(front.GetPictureInfo(image, sizeof image, kSpiInputMemory, &info), 0);
    EXPECT_EQ(probed.Count("GetPictureInfo|memory:"), 0);
    EXPECT_EQ(reader.Count("GetPictureInfo|memory:"), 1);
}

TEST(RequestProbe, FirstAnswerStandsForMemoryImagesTheLastProbedFileAndFilesThatCannotBeRead)
{
    FrontFolder folder;
    FakePlugin probed = folder.AddFake("probed.spi", "image", "GetPicture=3\n");
    FakePlugin other = folder.AddFake("other.spi", "image", "");
    folder.WriteCatalogue(FakeRecord(probed, "00IN", {{"*.aa", "A"}}) + FakeRecord(other, "00IN", {{"*.bb", "B"}}));
    const std::string a = folder / "a.aa";
    const std::string b = folder / "b.bb";
    const std::string locked = folder / "locked.bb";
    const std::string missing = folder / "missing.bb";
    const std::string subfolder = folder / "folder.bb";
    WriteFileBytes(a, "A picture");
    WriteFileBytes(b, "B picture");
    WriteFileBytes(locked, "B picture");
    ASSERT_TRUE(CreateDirectoryA(subfolder.c_str(), nullptr));
    OwnedHandle lock(CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(lock.Get(), INVALID_HANDLE_VALUE);
    // Nobody ever writes to it: reading it would wait for ever.
    const std::string pipe = "\\\\.\\pipe\\brisk" + std::to_string(GetCurrentProcessId()) + ".bb";
    OwnedHandle pipeServer(CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096,
                                            4096, 0, nullptr));
    ASSERT_NE(pipeServer.Get(), INVALID_HANDLE_VALUE);
    LoadedFront front(folder.Imp());
    ASSERT_EQ(front.IsSupported(a.c_str(), 0), 1);

    struct Case {
        const char* name;
        std::string buf;
        unsigned int flag;
    };
    const Case cases[] = {
        // The flag decides, even when the image's bytes spell a file name.
        {"memory image", b, kSpiInputMemory},
        {"the last probed file", a, kSpiInputFile},
        {"a file held without sharing", locked, kSpiInputFile},
        {"no such file", missing, kSpiInputFile},
        {"a folder", subfolder, kSpiInputFile},
        {"a pipe", pipe, kSpiInputFile},
    };
    int requests = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(RequestPicture(front, c.buf, c.flag), kSpiUnknownFormat) << c.name;
        EXPECT_EQ(probed.Count("GetPicture|"), ++requests) << c.name;
    }
    EXPECT_EQ(probed.Count("IsSupported|"), 1);
    EXPECT_EQ(other.Count("attach"), 0);
    // A readable file of the other plug-in gets its second chance after all that.
    EXPECT_EQ(RequestPicture(front, b), 0);
    EXPECT_EQ(other.Count("GetPicture|" + b), 1);
}

TEST(RequestProbe, RejectedFileIsNotProbedAgain)
{
    FrontFolder folder;
    FakePlugin probed = folder.AddFake("probed.spi", "image", "GetPicture=3\n");
    FakePlugin refuses = folder.AddFake("refuses.spi", "image", "IsSupported=0\n");
    folder.WriteCatalogue(FakeRecord(probed, "00IN", {{"*.aa", "A"}}) +
                          FakeRecord(refuses, "00IN", {{"*.rr", "R"}}));
    const std::string rejected = folder / "rejected.rr";
    WriteFileBytes(rejected, "R picture");
    LoadedFront front(folder.Imp());

    // Rejected by the last probe itself: no candidates, and no second probe.
    ASSERT_EQ(front.IsSupported(rejected.c_str(), 0), 0);
    EXPECT_EQ(RequestPicture(front, rejected), kSpiUnknownFormat);
    EXPECT_EQ(refuses.Count("IsSupported|"), 1);

    // Rejected before another file was accepted: the second chance is answered from
    // the remembered name, and the old candidates are not asked twice.
    ASSERT_EQ(front.IsSupported("a.aa", 0), 1);
    EXPECT_EQ(RequestPicture(front, rejected), kSpiUnknownFormat);
    EXPECT_EQ(refuses.Count("IsSupported|"), 1);
    EXPECT_EQ(probed.Count("GetPicture|"), 1);
    EXPECT_EQ(probed.Count("IsSupported|"), 1);
}

}  // namespace
