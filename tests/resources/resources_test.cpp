// The monitor's string, icon and version resources, and the absence of a
// manifest, read back from this program's own resources.
#include "ownresource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(StringTableTest, AboutMenuText)
{
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), 101, reinterpret_cast<LPWSTR>(&text), 0);  // in place
    ASSERT_GT(length, 0);
    EXPECT_EQ(std::wstring(text, length), L"&About spoolscope...");
}

#pragma pack(push, 2)
struct GroupEntry {  // GRPICONDIRENTRY
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupEntry) == 14, "GRPICONDIRENTRY is 14 bytes");

std::vector<GroupEntry> IconGroup(WORD id)
{
    const std::vector<BYTE> data = OwnResource(RT_GROUP_ICON, id);
    if (data.size() < 6)
        return {};
    const WORD* head = reinterpret_cast<const WORD*>(data.data());
    if (head[0] != 0 || head[1] != 1 || data.size() != 6 + head[2] * sizeof(GroupEntry))
        return {};
    const GroupEntry* first = reinterpret_cast<const GroupEntry*>(data.data() + 6);
    return std::vector<GroupEntry>(first, first + head[2]);
}

TEST(IconTest, GroupHoldsThreeSizesAtThreeDepths)
{
    // width, colour count, bits per pixel
    using Image = std::tuple<int, int, int>;
    const std::vector<Image> expected = {
        {16, 0, 8},  {16, 0, 24}, {16, 16, 4}, {32, 0, 8},  {32, 0, 24},
        {32, 16, 4}, {48, 0, 8},  {48, 0, 24}, {48, 16, 4},
    };
    std::vector<Image> images;
    for (const GroupEntry& e : IconGroup(128)) {
        EXPECT_EQ(e.height, e.width);
        EXPECT_EQ(e.planes, 1);
        images.emplace_back(e.width, e.colours, e.bitCount);
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, expected);
}

TEST(IconTest, EveryImageLoads)
{
    const std::vector<GroupEntry> group = IconGroup(128);
    ASSERT_FALSE(group.empty());
    for (const GroupEntry& e : group) {
        SCOPED_TRACE(testing::Message() << int(e.width) << " px, " << e.bitCount << " bpp");
        std::vector<BYTE> image = OwnResource(RT_ICON, e.id);
        ASSERT_EQ(image.size(), e.bytes);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));

        // A classic entry: the header's height covers the colour bitmap and the mask.
        const BITMAPINFOHEADER* bih = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        EXPECT_EQ(bih->biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(bih->biWidth, e.width);
        EXPECT_EQ(bih->biHeight, 2 * e.height);
        EXPECT_EQ(bih->biBitCount, e.bitCount);
        EXPECT_EQ(bih->biCompression, DWORD(BI_RGB));

        HICON icon = ::CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                                0x00030000, e.width, e.height, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP mask{};
        ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, e.width);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

class VersionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t path[MAX_PATH];
        ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        DWORD handle = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
        ASSERT_GT(size, 0u);
        m_block.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, m_block.data()));
    }

    const void* Query(const std::wstring& key, UINT* length)
    {
        void* value = nullptr;
        *length = 0;
        if (!::VerQueryValueW(m_block.data(), key.c_str(), &value, length))
            return nullptr;
        return value;
    }

    // A StringFileInfo value in the first translation; empty when missing.
    std::wstring Text(const std::wstring& name)
    {
        UINT length = 0;
        const WORD* translation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation", &length));
        if (!translation || length < 4)
            return {};
        const wchar_t* text = static_cast<const wchar_t*>(Query(
            L"\\StringFileInfo\\" + Hex4(translation[0]) + Hex4(translation[1]) + L"\\" + name, &length));
        return text ? std::wstring(text) : std::wstring();
    }

    static std::wstring Hex4(WORD v)
    {
        std::wstring s;
        for (int shift = 12; shift >= 0; shift -= 4)
            s += L"0123456789abcdef"[(v >> shift) & 15];
        return s;
    }

    std::vector<BYTE> m_block;
};

TEST_F(VersionTest, FixedInfoIsDebugApplication1001)
{
    UINT length = 0;
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\", &length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, DWORD(VS_FF_DEBUG));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
}

TEST_F(VersionTest, TextFields)
{
    struct {
        const wchar_t* name;
        const wchar_t* value;  // nullptr: any text
    } cases[] = {
        {L"InternalName", L"spoolscope.exe"},
        {L"OriginalFilename", L"spoolscope.exe"},
        {L"FileVersion", L"1.0.0.1"},
        {L"ProductVersion", L"1.0.0.1"},
        {L"CompanyName", nullptr},
        {L"FileDescription", nullptr},
        {L"ProductName", nullptr},
        {L"LegalCopyright", nullptr},
    };
    for (const auto& c : cases) {
        const std::wstring text = Text(c.name);
        const std::string shown(text.begin(), text.end());
        if (c.value)
            EXPECT_EQ(text, c.value) << shown;
        else
            EXPECT_FALSE(text.empty()) << std::string(c.name, c.name + wcslen(c.name));
    }
}

BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR types)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(types)->push_back(
        IS_INTRESOURCE(type) ? reinterpret_cast<ULONG_PTR>(type) : ~ULONG_PTR(0));  // all names alike
    return TRUE;
}

// Nothing but the monitor's own resources: in particular no RT_MANIFEST that
// a toolchain might link in.
TEST(ResourceTypesTest, NoManifestNorAnythingElse)
{
    std::vector<ULONG_PTR> types;
    ASSERT_TRUE(
        ::EnumResourceTypesA(::GetModuleHandleW(nullptr), CollectType, reinterpret_cast<LONG_PTR>(&types)));
    std::sort(types.begin(), types.end());
    const std::vector<ULONG_PTR> expected = {
        reinterpret_cast<ULONG_PTR>(RT_ICON),    reinterpret_cast<ULONG_PTR>(RT_DIALOG),
        reinterpret_cast<ULONG_PTR>(RT_STRING),  reinterpret_cast<ULONG_PTR>(RT_GROUP_ICON),
        reinterpret_cast<ULONG_PTR>(RT_VERSION),
    };
    EXPECT_EQ(types, expected);
    EXPECT_EQ(::FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_MANIFEST), nullptr);
}

}  // namespace
