#include "afx/cstring.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <mbctype.h>

#include <functional>
#include <string>

namespace {

struct FormatCase {
    const char* name;
    std::function<CString()> format;
    std::string expected;
};

CString Formatted(const char* pszFormat, ...) __attribute__((format(gnu_printf, 1, 2)));
CString Formatted(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    CString s;
    s.FormatV(pszFormat, args);
    va_end(args);
    return s;
}

TEST(CStringTest, FormatProducesPrintfText)
{
    const FormatCase cases[] = {
        {"negative decimal", [] { return Formatted("%d", -5); }, "-5"},
        {"bytes as unsigned", [] { return Formatted("%d.%d.%d.%d", 192, 168, 0, 200); }, "192.168.0.200"},
        {"tabs and CR LF kept", [] { return Formatted("A:\t\t%s \t\r\n", "x"); }, "A:\t\tx \t\r\n"},
        {"widths", [] { return Formatted("[%5s|%-3s|%03d]", "ab", "c", 7); }, "[   ab|c  |007]"},
        {"empty result", [] { return Formatted("%s", ""); }, ""},
        {"long result", [] { return Formatted("%s%s", std::string(700, 'a').c_str(), "b"); },
         std::string(700, 'a') + "b"},
    };
    for (const auto& c : cases) {
        CString s = c.format();
        EXPECT_EQ(std::string(s), c.expected) << c.name;
        EXPECT_EQ(s.GetLength(), static_cast<int>(c.expected.size())) << c.name;
    }
}

TEST(CStringTest, FormatReplacesEarlierContents)
{
    CString s("previous text that is long");
    s.Format("%d", 1);
    EXPECT_STREQ(s, "1");
}

TEST(CStringTest, ReverseFindCutsAPathAfterItsLastBackslash)
{
    struct {
        const char* path;
        int position;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\spoolscope\\spoolscope.exe", 27, "C:\\Program Files\\spoolscope\\"},
        {"C:\\spoolscope.exe", 2, "C:\\"},
        {"spoolscope.exe", -1, ""},
        {"", -1, ""},
        {"\\\\server\\share\\", 14, "\\\\server\\share\\"},
    };
    for (const auto& c : cases) {
        CString path(c.path);
        int n = path.ReverseFind('\\');
        EXPECT_EQ(n, c.position) << c.path;
        EXPECT_STREQ(path.Left(n + 1), c.folder) << c.path;
    }
}

// In a double-byte code page a trail byte may have the value of a backslash
// (Shift-JIS 0x95 0x5C) or of an ASCII letter; neither may match on its own.
class CStringMultibyteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (_setmbcp(932) != 0)
            GTEST_SKIP() << "code page 932 is not available";
    }
    void TearDown() override { _setmbcp(_MB_CP_ANSI); }
};

TEST_F(CStringMultibyteTest, ReverseFindSkipsTrailBytes)
{
    CString path("C:\\dir\\\x95\x5c.exe");
    EXPECT_EQ(path.ReverseFind('\\'), 6);
    EXPECT_STREQ(path.Left(path.ReverseFind('\\') + 1), "C:\\dir\\");
    EXPECT_EQ(CString("\x95\x5c").ReverseFind('\\'), -1);
}

TEST_F(CStringMultibyteTest, CompareNoCaseComparesCharactersNotBytes)
{
    EXPECT_NE(CString("\x83\x41").CompareNoCase("\x83\x61"), 0);
    EXPECT_EQ(CString("Printer\x83\x41").CompareNoCase("PRINTER\x83\x41"), 0);
}

TEST(CStringTest, CompareNoCaseIgnoresLetterCase)
{
    EXPECT_EQ(CString("192.168.0.10").CompareNoCase("192.168.0.10"), 0);
    EXPECT_EQ(CString("LaserJet").CompareNoCase("LASERJET"), 0);
    EXPECT_LT(CString("192.168.0.10").CompareNoCase("192.168.0.9"), 0);
    EXPECT_NE(CString("abc").CompareNoCase("abcd"), 0);
}

TEST(CStringTest, SubstringsClampTheirArguments)
{
    CString s("abcdef");
    EXPECT_STREQ(s.Left(0), "");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_STREQ(s.Left(3), "abc");
    EXPECT_STREQ(s.Left(100), "abcdef");
    EXPECT_STREQ(s.Mid(4), "ef");
    EXPECT_STREQ(s.Mid(10), "");
    EXPECT_STREQ(s.Mid(1, 100), "bcdef");
    EXPECT_STREQ(s.Right(2), "ef");
    EXPECT_STREQ(s.Right(10), "abcdef");
}

TEST(CStringTest, ConcatenationKeepsBothSides)
{
    CString address("192.168.0.7");
    EXPECT_STREQ("http://" + address, "http://192.168.0.7");
    EXPECT_STREQ(address + "/", "192.168.0.7/");
    CString s;
    s += "a";
    s += CString("b");
    s += 'c';
    EXPECT_STREQ(s, "abc");
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(CStringTest, LoadStringReadsTheStringTable)
{
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_SHORT));
    EXPECT_STREQ(s, "Short text");

    std::string expected;
    for (int i = 0; i < 60; ++i)
        expected += "0123456789";
    EXPECT_TRUE(s.LoadString(IDS_LONG));
    EXPECT_EQ(std::string(s), expected);

    EXPECT_FALSE(s.LoadString(IDS_MISSING));
    EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
