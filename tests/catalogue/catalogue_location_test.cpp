#include <gtest/gtest.h>

#include "catalogue_location.h"
#include "set_names.h"

namespace {

TEST(CatalogueLocation, NameFromTheHostCommandLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"host.exe", BRISK_DEFAULT_CATALOGUE},
        {"", BRISK_DEFAULT_CATALOGUE},
        {"host.exe /configfile:list.txt", "list.txt"},
        {"HOST.EXE /CONFIGFILE:Other.TXT next", "other.txt"},
        {"host.exe /ConfigFile:my list.txt", "my"},
        {"host.exe /configfile:\"q.txt\"", "\"q.txt\""},
        {"host.exe /configfile: x", ""},
        {"host.exe /configfile:", ""},
        {"host.exe /configfile:a.txt /configfile:b.txt", "a.txt"},
        {"host.exe /configfile:..\\Lists\\A.txt", "..\\lists\\a.txt"},
        {"host.exe /configfile:a\tb.txt c", "a\tb.txt"},
        {"host.exe -configfile:a.txt", BRISK_DEFAULT_CATALOGUE},
        {"C:\\Tools\\/configfile:x\\host.exe", "x\\host.exe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CatalogueFileName(c.first), c.second) << c.first;
}

TEST(CatalogueLocation, OnlyAsciiLettersAreFolded)
{
    EXPECT_EQ(CatalogueFileName("h /configfile:\xC4\xE4Z.txt"), "\xC4\xE4z.txt");
}

}  // namespace

namespace {

// The name from the switch is relative to the folder of the set's registry library.
TEST(CatalogueLocation, PathIsInTheRegistryLibrarysFolder)
{
    EXPECT_EQ(CataloguePathIn("C:\\host\\", "viewer.exe"), std::string("C:\\host\\") + BRISK_DEFAULT_CATALOGUE);
    EXPECT_EQ(CataloguePathIn("C:\\host\\", "viewer.exe /configfile:..\\Lists\\Photos.txt"),
              "C:\\host\\..\\lists\\photos.txt");
}

}  // namespace
