#include "procfix/resetrules.h"

#include <gtest/gtest.h>

#include <string>

using namespace resetrules;

namespace {

TEST(ResetRulesTest, PlatformKindFromVersion)
{
    struct {
        uint32_t platformId;
        uint32_t major;
        uint8_t kind;
    } cases[] = {
        {0, 0, kPlatformUnsupported},  // a failed version query leaves zeros
        {0, 5, kPlatformUnsupported},  // Win32s
        {1, 4, kPlatformWin9x},       {1, 0, kPlatformWin9x},        {1, 5, kPlatformWin9x},
        {2, 5, kPlatformNT5},         {2, 4, kPlatformUnsupported},  {2, 3, kPlatformUnsupported},
        {2, 6, kPlatformUnsupported}, {2, 10, kPlatformUnsupported}, {3, 5, kPlatformUnsupported},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlatformKindOf(c.platformId, c.major), c.kind) << c.platformId << "." << c.major;
}

TEST(ResetRulesTest, PlanForEachKind)
{
    const uint32_t kRaw = kAttributeRawOnly;
    const uint32_t kBidi = kAttributeEnableBidi;
    const uint32_t kOther = 0x00000240;  // local, shared: never touched
    struct {
        const char* name;
        uint8_t kind;
        uint32_t attributes;
        const char* printProcessor;
        bool needed;
        uint32_t attributesAfter;
        bool setWinPrint;
        bool setRaw;
    } cases[] = {
        {"2000/XP already right", kPlatformNT5, kOther | kRaw, "WinPrint", false, kOther | kRaw, false,
         false},
        {"2000/XP case differs", kPlatformNT5, kOther | kRaw, "winprint", true, kOther | kRaw, true, true},
        {"2000/XP all capitals", kPlatformNT5, kRaw, "WINPRINT", true, kRaw, true, true},
        {"2000/XP longer name", kPlatformNT5, kRaw, "WinPrint2", true, kRaw, true, true},
        {"2000/XP prefix only", kPlatformNT5, kRaw, "WinPrin", true, kRaw, true, true},
        {"2000/XP empty name", kPlatformNT5, kRaw, "", true, kRaw, true, true},
        {"2000/XP no print processor", kPlatformNT5, kRaw, nullptr, true, kRaw, true, true},
        {"2000/XP raw-only clear", kPlatformNT5, kOther, "WinPrint", true, kOther | kRaw, false, false},
        {"2000/XP bidi set", kPlatformNT5, kOther | kRaw | kBidi, "WinPrint", true, kOther | kRaw, false,
         false},
        {"2000/XP everything wrong", kPlatformNT5, 0xFFFFFFFF & ~kRaw, "hpprint", true, 0xFFFFFFFF & ~kBidi,
         true, true},
        {"95/98/ME bidi clear", kPlatformWin9x, kOther, "hpprint", false, kOther, false, false},
        {"95/98/ME bidi clear, no print processor", kPlatformWin9x, 0, nullptr, false, 0, false, false},
        {"95/98/ME bidi set, raw-only clear", kPlatformWin9x, kOther | kBidi, "hpprint", true, kOther, false,
         true},
        {"95/98/ME bidi set, raw-only set", kPlatformWin9x, kRaw | kBidi, nullptr, true, kRaw, false, true},
        {"95/98/ME all bits", kPlatformWin9x, 0xFFFFFFFF, "WinPrint", true, 0xFFFFFFFF & ~kBidi, false, true},
        {"unsupported", kPlatformUnsupported, kBidi, "hpprint", false, kBidi, false, false},
        {"kind 2", 2, kBidi, "hpprint", false, kBidi, false, false},
    };
    for (const auto& c : cases) {
        PrinterReset reset = PlanPrinterReset(c.kind, c.attributes, c.printProcessor);
        EXPECT_EQ(reset.bNeeded, c.needed) << c.name;
        EXPECT_EQ(reset.dwAttributes, c.attributesAfter) << c.name;
        EXPECT_EQ(reset.bSetWinPrint, c.setWinPrint) << c.name;
        EXPECT_EQ(reset.bSetRawDatatype, c.setRaw) << c.name;
    }
}

TEST(ResetRulesTest, AfterAResetNoFurtherResetIsNeeded)
{
    const uint32_t attributes[] = {0, kAttributeRawOnly, kAttributeEnableBidi,
                                   kAttributeRawOnly | kAttributeEnableBidi, 0xFFFFFFFF};
    const char* processors[] = {nullptr, "", "winprint", "WinPrint", "hpprint"};
    for (uint8_t kind : {kPlatformNT5, kPlatformWin9x}) {
        for (uint32_t a : attributes) {
            for (const char* p : processors) {
                PrinterReset first = PlanPrinterReset(kind, a, p);
                const char* after = first.bSetWinPrint ? kWinPrint : p;
                EXPECT_FALSE(PlanPrinterReset(kind, first.dwAttributes, after).bNeeded)
                    << int(kind) << " " << a << " " << (p ? p : "(none)");
            }
        }
    }
}

}  // namespace
