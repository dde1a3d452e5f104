// IsSupported of the front plug-ins: which catalogued plug-ins are loaded and asked,
// in what order, and what the remembered rejected name saves.
#include <gtest/gtest.h>

#include "front_host.h"
#include "set_names.h"

namespace {

// The logged calls of `fake` that start with `prefix`.
std::vector<std::string> Calls(const FakePlugin& fake, const std::string& prefix)
{
    std::vector<std::string> calls;
    for (const std::string& line : fake.Calls()) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            calls.push_back(line);
    }
    return calls;
}

TEST(SupportProbe, FirstMatchingPatternDecidesAndEachRecordIsAskedOnce)
{
    FrontFolder folder;
    FakePlugin refuses = folder.AddFake("refuses.spi", "all", "IsSupported=0\n");
    FakePlugin accepts = folder.AddFake("accepts.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(refuses, "00IN", {{"*.aa;*.bb", "A"}, {"*.bb;*.cc", "B"}}) +
                          FakeRecord(accepts, "00IN", {{"*.zz", "Z"}, {"*.bb", "B"}}));
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("x.bb", 77), 1);
    EXPECT_EQ(Calls(refuses, "IsSupported|"), std::vector<std::string>{"IsSupported|x.bb|77"});
    EXPECT_EQ(Calls(accepts, "IsSupported|"), std::vector<std::string>{"IsSupported|x.bb|77"});

    // A refusal is final for the probe, and the refusing record is no candidate.
    EXPECT_EQ(front.GetPicture("x.bb", 0, 0, nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(refuses.Count("GetPicture|"), 0);
    EXPECT_EQ(accepts.Count("GetPicture|"), 1);
}

TEST(SupportProbe, CandidatesInCatalogueOrder)
{
    FrontFolder folder;
    FakePlugin first = folder.AddFake("first.spi", "all", "GetPicture=3\nGetPictureInfo=3\n");
    FakePlugin second = folder.AddFake("second.spi", "all", "IsSupported=0\n");
    FakePlugin third = folder.AddFake("third.spi", "all", "IsSupported=7\nGetPictureInfo=5\n");
    FakePlugin fourth = folder.AddFake("fourth.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(first, "00IN", {{"*.aa", "A"}}) + FakeRecord(second, "00IN", {{"*.aa", "A"}}) +
                          FakeRecord(third, "00IN", {{"*.AA", "A"}}) + FakeRecord(fourth, "00IN", {{"p*", "P"}}));
    LoadedFront front(folder.Imp());
    // Any non-zero answer accepts; the front plug-in itself answers exactly 1.
    EXPECT_EQ(front.IsSupported("pic.aa", 0), 1);
    // first fails, third succeeds, fourth is not reached.
    EXPECT_EQ(front.GetPicture("pic.aa", 0, 0, nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(first.Count("GetPicture|"), 1);
    EXPECT_EQ(second.Count("GetPicture|"), 0);
    EXPECT_EQ(third.Count("GetPicture|"), 1);
    EXPECT_EQ(fourth.Count("GetPicture|"), 0);
    // first and third fail, so fourth is asked: it is a candidate too, the last one.
    EXPECT_EQ(front.GetPictureInfo("pic.aa", 0, 0, nullptr), 0);
    EXPECT_EQ(first.Count("GetPictureInfo|"), 1);
    EXPECT_EQ(third.Count("GetPictureInfo|"), 1);
    EXPECT_EQ(fourth.Count("GetPictureInfo|"), 1);
}

TEST(SupportProbe, LastRejectedName)
{
    FrontFolder folder;
    FakePlugin fake = folder.AddFake("fake.spi", "all", "IsSupported=0\n");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"*", "Everything"}}));
    LoadedFront front(folder.Imp());

    // The empty name equals the initially empty remembered name: nothing is probed,
    // even though "*" would match it.
    EXPECT_EQ(front.IsSupported("", 0), 0);
    EXPECT_EQ(fake.Count("attach"), 0);

    EXPECT_EQ(front.IsSupported("a.pic", 0), 0);
    EXPECT_EQ(front.IsSupported("a.pic", 0x10000), 0);  // same name, header buffer this time
    EXPECT_EQ(fake.Count("IsSupported|"), 1);
    // Only the exact bytes count: another letter case is another name.
    EXPECT_EQ(front.IsSupported("A.PIC", 0), 0);
    EXPECT_EQ(fake.Count("IsSupported|"), 2);
    EXPECT_EQ(front.IsSupported("a.pic", 0), 0);
    EXPECT_EQ(fake.Count("IsSupported|"), 3);
}

TEST(SupportProbe, RejectedNameAnsweredAtOnceKeepsTheCandidatesOfTheProbeBefore)
{
    FrontFolder folder;
    FakePlugin fake = folder.AddFake("fake.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"b.*", "Bs"}, {"*.pic", "Pictures"}}));
    // Rejected by its patterns: "a.txt" matches neither.
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("a.txt", 0), 0);
    EXPECT_EQ(fake.Count("attach"), 0);
    EXPECT_EQ(front.IsSupported("b.pic", 0), 1);
    EXPECT_EQ(front.IsSupported("a.txt", 0), 0);
    EXPECT_EQ(fake.Count("IsSupported|"), 1);
    EXPECT_EQ(front.GetPicture("b.pic", 0, 0, nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(fake.Count("GetPicture|b.pic"), 1);
}

TEST(SupportProbe, PluginsAreLoadedOnlyWhenAPatternFirstMatches)
{
    FrontFolder folder;
    FakePlugin never = folder.AddFake("never.spi", "all", "");
    FakePlugin lazy = folder.AddFake("lazy.spi", "all", "IsSupported=0\n");
    folder.WriteCatalogue(FakeRecord(never, "00IN", {{"*.nn", "Ns"}}) + FakeRecord(lazy, "00IN", {{"*.ll", "Ls"}}));
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("one.xx", 0), 0);
    EXPECT_EQ(lazy.Count("attach"), 0);
    EXPECT_EQ(front.IsSupported("one.ll", 0), 0);
    EXPECT_EQ(front.IsSupported("two.ll", 0), 0);
    EXPECT_EQ(lazy.Count("attach"), 1);
    EXPECT_EQ(lazy.Count("IsSupported|"), 2);
    EXPECT_EQ(never.Count("attach"), 0);
    EXPECT_FALSE(IsLoaded(never.Path()));
}

TEST(SupportProbe, PluginsThatCannotAnswerAreNoCandidates)
{
    FrontFolder folder;
    FakePlugin noIsSupported = folder.AddFake("info_only.spi", "info_only", "");
    FakePlugin accepts = folder.AddFake("accepts.spi", "all", "");
    std::string missing = folder / "missing.spi";
    folder.WriteCatalogue(CatalogueRecord(missing, "00IN", "Missing", false, {{"*.aa", "A"}}) +
                          FakeRecord(noIsSupported, "00IN", {{"*.aa", "A"}}) +
                          FakeRecord(accepts, "00IN", {{"*.bb", "B"}}));
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("x.aa", 0), 0);
    EXPECT_EQ(noIsSupported.Count("attach"), 1);
    // Neither the failed load nor the plug-in without IsSupported is tried again.
    EXPECT_EQ(front.IsSupported("y.aa", 0), 0);
    EXPECT_EQ(noIsSupported.Count("attach"), 1);
    EXPECT_EQ(front.IsSupported("z.bb", 0), 1);
}

TEST(SupportProbe, NullFileNameChangesNothing)
{
    FrontFolder folder;
    FakePlugin fake = folder.AddFake("fake.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"acc*", "Accepted"}}));
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("rejected.pic", 0), 0);
    EXPECT_EQ(front.IsSupported("accepted.pic", 0), 1);
    fake.ClearLog();

    EXPECT_EQ(front.IsSupported(nullptr, 0), 0);
    EXPECT_EQ(fake.Count("IsSupported|"), 0);
    // The remembered name is still "rejected.pic"...
    EXPECT_EQ(front.IsSupported("rejected.pic", 0), 0);
    EXPECT_EQ(fake.Count("IsSupported|"), 0);
    // ...and the candidates still those of "accepted.pic".
    EXPECT_EQ(front.GetPicture("accepted.pic", 0, 0, nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(fake.Count("GetPicture|accepted.pic"), 1);
}

TEST(SupportProbe, NestedProbeFromACataloguedPluginIsRefused)
{
    FrontFolder folder;
    FakePlugin fake = folder.AddFake("fake.spi", "all", "reenter=" BRISK_IMAGE_FRONT "\n");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"*", "Everything"}}));
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("x.aa", 0), 1);
    EXPECT_EQ(fake.Calls(), (std::vector<std::string>{"attach", "IsSupported|x.aa|0", "reenter|IsSupported|0"}));
    // The refused probe of "reentered.name" neither replaced the candidates nor
    // became the remembered rejected name.
    EXPECT_EQ(front.GetPictureInfo("x.aa", 0, 0, nullptr), 0);
    EXPECT_EQ(front.IsSupported("reentered.name", 0), 1);
    EXPECT_EQ(fake.Count("IsSupported|reentered.name|0"), 1);
}

// A host that hands over an open file: each plug-in asked starts reading where the
// host left the file, not where the plug-in before it stopped.
TEST(SupportProbe, EveryPluginGivenAFileHandleReadsFromWhereTheHostLeftIt)
{
    FrontFolder folder;
    FakePlugin first = folder.AddFake("first.spi", "all", "IsSupported=0\nIsSupported.read=4\n");
    FakePlugin second = folder.AddFake("second.spi", "all", "IsSupported=0\nIsSupported.read=4\n");
    FakePlugin third = folder.AddFake("third.spi", "all", "IsSupported.read=4\n");
    folder.WriteCatalogue(FakeRecord(first, "00IN", {{"*.dat", "D"}}) + FakeRecord(second, "00IN", {{"*.dat", "D"}}) +
                          FakeRecord(third, "00IN", {{"*.dat", "D"}}));
    const std::string path = folder.Path() + "\\picture.dat";
    WriteFileBytes(path, "..HEADER and the rest");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 2, nullptr, FILE_BEGIN);
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported(path.c_str(), reinterpret_cast<ULONG_PTR>(file)), 1);
    for (const FakePlugin* fake : {&first, &second, &third})
        EXPECT_EQ(Calls(*fake, "read|"), std::vector<std::string>{"read|HEAD"});
    CloseHandle(file);
}

}  // namespace
