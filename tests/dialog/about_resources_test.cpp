// The compiled resources of briskspi.dll: the About dialog's template and picture,
// read back from the library and parsed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "about_resources.h"
#include "test_files.h"
#include "set_names.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// A name-or-ordinal field of a dialog template: 0xFFFF then an ordinal, or a
// zero-terminated UTF-16 text.
struct TemplateField {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring text;
};

// Reads a template in memory field by field, keeping its alignment rules.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

    template <class T>
    T Read()
    {
        T value{};
        if (offset_ + sizeof(T) <= size_)
            std::memcpy(&value, data_ + offset_, sizeof(T));
        else
            overrun_ = true;
        offset_ += sizeof(T);
        return value;
    }
    TemplateField Field()
    {
        TemplateField field;
        WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            field.isOrdinal = true;
            field.ordinal = Read<WORD>();
            return field;
        }
        for (WORD c = first; c != 0 && !overrun_; c = Read<WORD>())
            field.text.push_back(static_cast<wchar_t>(c));
        return field;
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~static_cast<DWORD>(3); }
    bool Overrun() const { return overrun_; }

private:
    const BYTE* data_;
    DWORD size_;
    DWORD offset_ = 0;
    bool overrun_ = false;
};

struct ExpectedControl {
    const char* what;
    WORD id;
    WORD classOrdinal;  // 0x80 button, 0x82 static, 0x83 list box
    std::wstring text;  // ignored when textOrdinal is set
    WORD textOrdinal;
    short x, y, cx, cy;
    DWORD style;
};

// The library's own resources, in the Japanese language.
class RegistryResources : public ::testing::Test {
protected:
    RegistryResources() : library_(LoadLibraryExA((BinFolder() + BRISK_REGISTRY_LIBRARY).c_str(), nullptr,
                                                  LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~RegistryResources() override
    {
        if (library_)
            FreeLibrary(library_);
    }

    // The resource's bytes; empty when it is missing.
    std::vector<BYTE> Resource(LPCSTR type, WORD id) const
    {
        HRSRC found = FindResourceExA(library_, type, MAKEINTRESOURCEA(id), kJapanese);
        if (!found)
            return {};
        HGLOBAL loaded = LoadResource(library_, found);
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(loaded));
        DWORD size = SizeofResource(library_, found);
        return bytes ? std::vector<BYTE>(bytes, bytes + size) : std::vector<BYTE>{};
    }

    HMODULE library_;
};

TEST_F(RegistryResources, AboutTemplateIsExactlyTheDialogsLayout)
{
    ASSERT_NE(library_, nullptr);
    std::vector<BYTE> bytes = Resource(RT_DIALOG, IDD_ABOUT);
    ASSERT_FALSE(bytes.empty()) << "no dialog 101 in language 1041";
    TemplateReader reader(bytes.data(), static_cast<DWORD>(bytes.size()));

    // The plain DLGTEMPLATE form: style, extended style, control count, rectangle.
    DWORD style = reader.Read<DWORD>();
    ASSERT_NE(style, 0xFFFF0001u) << "an extended template";
    EXPECT_EQ(style, 0x80C808C0u);
    EXPECT_EQ(reader.Read<DWORD>(), 0u);
    WORD controlCount = reader.Read<WORD>();
    const short rect[4] = {reader.Read<short>(), reader.Read<short>(), reader.Read<short>(), reader.Read<short>()};
    EXPECT_EQ(std::vector<short>(rect, rect + 4), (std::vector<short>{0, 0, 181, 155}));
    TemplateField menu = reader.Field();
    EXPECT_TRUE(!menu.isOrdinal && menu.text.empty()) << "no menu";
    TemplateField windowClass = reader.Field();
    EXPECT_TRUE(!windowClass.isOrdinal && windowClass.text.empty()) << "the default dialog class";
    EXPECT_EQ(reader.Field().text, L"About BriskSPI");
    EXPECT_EQ(reader.Read<WORD>(), 9) << "font size";
    EXPECT_EQ(reader.Field().text, L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF") << "ＭＳ Ｐゴシック";

    const ExpectedControl expected[] = {
        {"OK", IDOK, 0x80, L"OK", 0, 125, 135, 50, 14, 0x50010001},
        {"list", IDC_PLUGIN_LIST, 0x83, L"", 0, 5, 55, 170, 75, 0x50B10101},
        {"title", 0xFFFF, 0x82, L"BriskSPI    Ver.2.1", 0, 55, 10, 56, 8, 0x50020000},
        {"copyright", 0xFFFF, 0x82, L"(C) 2026 BriskSPI", 0, 55, 25, 64, 8, 0x50020000},
        {"label", 0xFFFF, 0x82, L"Other Plug-ins", 0, 10, 45, 44, 8, 0x50020000},
        {"About...", IDC_PLUGIN_ABOUT, 0x80, L"About...", 0, 5, 135, 50, 14, 0x58010000},
        {"Config...", IDC_PLUGIN_CONFIG, 0x80, L"Config...", 0, 60, 135, 50, 14, 0x58010000},
        {"picture", 0xFFFF, 0x82, L"", IDB_ABOUT_PICTURE, 25, 10, 18, 21, 0x5000000E},
    };
    ASSERT_EQ(controlCount, sizeof expected / sizeof expected[0]);
    for (const ExpectedControl& control : expected) {
        SCOPED_TRACE(control.what);
        reader.AlignToDword();
        EXPECT_EQ(reader.Read<DWORD>(), control.style);
        EXPECT_EQ(reader.Read<DWORD>(), 0u) << "extended style";
        const short place[4] = {reader.Read<short>(), reader.Read<short>(), reader.Read<short>(),
                                reader.Read<short>()};
        EXPECT_EQ(std::vector<short>(place, place + 4),
                  (std::vector<short>{control.x, control.y, control.cx, control.cy}));
        EXPECT_EQ(reader.Read<WORD>(), control.id);
        TemplateField windowClass = reader.Field();
        EXPECT_TRUE(windowClass.isOrdinal);
        EXPECT_EQ(windowClass.ordinal, control.classOrdinal);
        TemplateField text = reader.Field();
        if (control.textOrdinal) {
            EXPECT_TRUE(text.isOrdinal);
            EXPECT_EQ(text.ordinal, control.textOrdinal);
        } else {
            EXPECT_FALSE(text.isOrdinal);
            EXPECT_EQ(text.text, control.text);
        }
        EXPECT_EQ(reader.Read<WORD>(), 0) << "no creation data";
    }
    EXPECT_FALSE(reader.Overrun());
}

TEST_F(RegistryResources, PictureIs32By32With16ColoursUncompressed)
{
    ASSERT_NE(library_, nullptr);
    std::vector<BYTE> bytes = Resource(RT_BITMAP, IDB_ABOUT_PICTURE);
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER)) << "no bitmap 102 in language 1041";
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 32);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 4);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    // Header, 16 palette entries, 32 rows of 16 bytes.
    EXPECT_EQ(bytes.size(), sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD) + 32 * 16);
}

}  // namespace
