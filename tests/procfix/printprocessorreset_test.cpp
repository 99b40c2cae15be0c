#include "procfix/printprocessorreset.h"
#include "procfix/procfixmain.h"
#include "procfix/resetrules.h"
#include "spoolscope/doc.h"
#include "spoolscope/net/winsockapi.h"

#include "consoletexts.h"
#include "fakespooler.h"
#include "outputcapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::EndsWith;

namespace {

const std::string kLongName(259, 'N');

struct Scenario {
    const char* name;
    std::function<void(FakeSpooler&)> setup;
    std::string output;
    BYTE kind;
};

// The whole program against the stand-in: its exact output, the platform
// kind it keeps, and nothing left open.
TEST(ProcfixTest, ConsoleOutputOfEachScenario)
{
    const Scenario scenarios[] = {
        {"Windows 7", [](FakeSpooler& f) { f.dwMajorVersion = 6; },
         kBanner + kUnsupported + kCheckOver + kNote + kPress, resetrules::kPlatformUnsupported},
        {"no printers", [](FakeSpooler&) {}, kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"no printers, 95/98/ME", [](FakeSpooler& f) { f.SetWin9x(); },
         kBanner + kCheckOver + kNote + kHint + kPress, resetrules::kPlatformWin9x},
        {"printers key cannot be opened",
         [](FakeSpooler& f) {
             f.lOpenKeyResult = ERROR_ACCESS_DENIED;
             f.printers = {Printer("LASER", kBidi)};
         },
         kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"printer already right", [](FakeSpooler& f) { f.printers = {Printer("LASER", kRight)}; },
         kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"one reset that succeeds", [](FakeSpooler& f) { f.printers = {Printer("LASER", kBidi)}; },
         kBanner + NeedReset("LASER") + ResetOk("LASER") + kCheckOver + kPress, resetrules::kPlatformNT5},
        {"one reset that fails",
         [](FakeSpooler& f) {
             f.printers = {Printer("LASER", kRight, "winprint")};
             f.printers[0].bSetFails = true;
         },
         kBanner + NeedReset("LASER") + "Reset LASER error ,access denied !!!\n" + kCheckOver + kPress,
         resetrules::kPlatformNT5},
        {"95/98/ME reset that succeeds",
         [](FakeSpooler& f) {
             f.SetWin9x();
             f.printers = {Printer("LASER", kBidi)};
         },
         kBanner + NeedReset("LASER") + ResetOk("LASER") + kCheckOver + kHint + kPress,
         resetrules::kPlatformWin9x},
        {"95/98/ME reset that fails",
         [](FakeSpooler& f) {
             f.SetWin9x();
             f.printers = {Printer("LASER", kBidi)};
             f.printers[0].bSetFails = true;
         },
         kBanner + NeedReset("LASER") + "Reset LASER error !!!\n" + kCheckOver + kHint + kPress,
         resetrules::kPlatformWin9x},
        {"95/98/ME bidi clear, whatever else",
         [](FakeSpooler& f) {
             f.SetWin9x();
             f.printers = {Printer("LASER", 0, "hpprint", "EMF")};
         },
         kBanner + kCheckOver + kNote + kHint + kPress, resetrules::kPlatformWin9x},
        {"walk stops at the first enumeration error",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi), Printer("B", kBidi), Printer("C", kBidi)};
             f.printers[1].lEnumResult = ERROR_ACCESS_DENIED;
         },
         kBanner + NeedReset("A") + ResetOk("A") + kCheckOver + kPress, resetrules::kPlatformNT5},
        {"a name too long for the buffer ends the walk",
         [](FakeSpooler& f) {
             f.printers = {Printer(std::string(260, 'X'), kBidi), Printer("B", kBidi)};
         },
         kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"a 259-byte name", [](FakeSpooler& f) { f.printers = {Printer(kLongName, kBidi)}; },
         kBanner + NeedReset(kLongName) + ResetOk(kLongName) + kCheckOver + kPress, resetrules::kPlatformNT5},
        {"both opens fail, the walk goes on",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi), Printer("B", kRight)};
             f.printers[0].bOpenWithDefaults = f.printers[0].bOpenPlain = false;
         },
         kBanner + "Open A error...\n" + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"only the open without defaults works",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi)};
             f.printers[0].bOpenWithDefaults = false;
         },
         kBanner + NeedReset("A") + ResetOk("A") + kCheckOver + kPress, resetrules::kPlatformNT5},
        {"needed size 0, the walk goes on",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi), Printer("B", kBidi)};
             f.printers[0].bReportSize = false;
         },
         kBanner + "Access A is denied !\n" + NeedReset("B") + ResetOk("B") + kCheckOver + kPress,
         resetrules::kPlatformNT5},
        {"second read fails",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi), Printer("B", kRight)};
             f.printers[0].bReadFails = true;
         },
         kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"needed size too small for a record",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi)};
             f.printers[0].bReportSize = false;
             f.printers[0].dwReportedSize = 8;
             f.printers[0].bReadIgnoresSize = true;
         },
         kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"needed size near 4 GiB",
         [](FakeSpooler& f) {
             f.printers = {Printer("A", kBidi)};
             f.printers[0].bReportSize = false;
             f.printers[0].dwReportedSize = 0xFFFFFFFA;
         },
         kBanner + kCheckOver + kNote + kPress, resetrules::kPlatformNT5},
        {"no print processor", [](FakeSpooler& f) { f.printers = {Printer("A", kRight, nullptr)}; },
         kBanner + NeedReset("A") + ResetOk("A") + kCheckOver + kPress, resetrules::kPlatformNT5},
        {"no data type", [](FakeSpooler& f) { f.printers = {Printer("A", kBidi, "WinPrint", nullptr)}; },
         kBanner + NeedReset("A") + ResetOk("A") + kCheckOver + kPress, resetrules::kPlatformNT5},
    };
    for (const Scenario& s : scenarios) {
        FakeSpooler fake;
        s.setup(fake);
        g_output.clear();
        g_byPlatformKind = 0xEE;
        EXPECT_EQ(ProcfixMain(CaptureOutput), 0) << s.name;
        EXPECT_EQ(g_output, s.output) << s.name;
        EXPECT_EQ(g_byPlatformKind, s.kind) << s.name;
        EXPECT_EQ(fake.nOpenHandles, 0) << s.name;
        EXPECT_EQ(fake.nOpenKeys, 0) << s.name;
    }
}

// On any platform but 95/98/ME and 2000/XP only the version is asked.
TEST(ProcfixTest, UnsupportedPlatformTouchesNeitherRegistryNorSpooler)
{
    struct {
        const char* name;
        BOOL result;
        DWORD platformId;
        DWORD major;
    } cases[] = {
        {"NT 4", TRUE, VER_PLATFORM_WIN32_NT, 4},
        {"Vista", TRUE, VER_PLATFORM_WIN32_NT, 6},
        {"Windows 10", TRUE, VER_PLATFORM_WIN32_NT, 10},
        {"Win32s", TRUE, VER_PLATFORM_WIN32s, 5},
        {"version query fails", FALSE, VER_PLATFORM_WIN32_NT, 5},
    };
    for (const auto& c : cases) {
        FakeSpooler fake;
        fake.bVersionResult = c.result;
        fake.dwPlatformId = c.platformId;
        fake.dwMajorVersion = c.major;
        fake.printers = {Printer("LASER", kBidi)};
        g_output.clear();
        BYTE byKind = 0xEE;
        int nCount = 0;
        EXPECT_EQ(ResetPrintProcessors(&nCount, &byKind, CaptureOutput), 0) << c.name;
        EXPECT_EQ(g_output, kUnsupported) << c.name;
        EXPECT_EQ(byKind, resetrules::kPlatformUnsupported) << c.name;
        EXPECT_EQ(nCount, 0) << c.name;
        EXPECT_THAT(fake.calls, ElementsAre("GetVersionExA(148,zeroed)")) << c.name;
    }
}

// The exact calls of one walk: both open attempts, the defaults, the two
// reads, the command, and every handle and the key closed.
TEST(ProcfixTest, WalkMakesExactlyTheseCalls)
{
    FakeSpooler fake;
    fake.printers = {Printer("A", kRight), Printer("B", kBidi), Printer("C", kBidi), Printer("D", kBidi)};
    fake.printers[1].bOpenWithDefaults = false;
    fake.printers[2].bOpenWithDefaults = fake.printers[2].bOpenPlain = false;
    fake.printers[3].bReportSize = false;
    int nCount = 0;
    BYTE byKind = 0;
    g_output.clear();
    EXPECT_EQ(ResetPrintProcessors(&nCount, &byKind, CaptureOutput), 1);
    EXPECT_EQ(nCount, 1);
    const std::string a = std::to_string(Level2Size(fake.printers[0]));
    EXPECT_THAT(
        fake.calls,
        ElementsAre(
            "GetVersionExA(148,zeroed)",
            "RegOpenKeyExA(HKLM,System\\CurrentControlSet\\Control\\Print\\Printers,0,0x20019)",
            "RegEnumKeyA(0,260,zeroed)", "OpenPrinterA(A,{null,null,0xf000c})", "GetPrinterA(A,2,null,0)",
            "GetPrinterA(A,2,buffer," + a + ")", "ClosePrinter(A)", "RegEnumKeyA(1,260,zeroed)",
            "OpenPrinterA(B,{null,null,0xf000c})", "OpenPrinterA(B,null)", "GetPrinterA(B,2,null,0)",
            "GetPrinterA(B,2,buffer," + a + ")", "SetPrinterA(B,2,0)", "ClosePrinter(B)",
            "RegEnumKeyA(2,260,zeroed)", "OpenPrinterA(C,{null,null,0xf000c})", "OpenPrinterA(C,null)",
            "RegEnumKeyA(3,260,zeroed)", "OpenPrinterA(D,{null,null,0xf000c})", "GetPrinterA(D,2,null,0)",
            "ClosePrinter(D)", "RegEnumKeyA(4,260,zeroed)", "RegCloseKey"));
}

std::string Quote(const char* psz)
{
    return psz != nullptr ? std::string("\"") + psz + "\"" : "(null)";
}

// "Loses no data": the record goes back as read but for the attribute bits,
// print processor and data type the rules change, and every text it points
// to is readable while SetPrinterA runs.
TEST(ProcfixTest, RecordHandedBackDiffersOnlyInWhatTheRulesChange)
{
    const DWORD kLocal = PRINTER_ATTRIBUTE_LOCAL;
    const DWORD kAll = 0xFFFFFFFF;
    struct {
        const char* name;
        bool win9x;
        FakePrinter printer;
        DWORD attributes;
        const char* printProcessor;
        const char* datatype;
        bool ownWinPrint;  // pPrintProcessor points at the copy behind the read data
    } cases[] = {
        {"2000/XP bidi set", false, Printer("P", kBidi), kRight, "WinPrint", "NT EMF 1.008", false},
        {"2000/XP raw-only clear", false, Printer("P", kLocal, "WinPrint", "TEXT"), kRight, "WinPrint",
         "TEXT", false},
        {"2000/XP case differs", false, Printer("P", kRight, "winprint"), kRight, "WinPrint", "RAW", true},
        {"2000/XP no print processor", false, Printer("P", kRight, nullptr), kRight, "WinPrint", "RAW", true},
        {"2000/XP no data type", false, Printer("P", kBidi, "WinPrint", nullptr), kRight, "WinPrint", nullptr,
         false},
        {"2000/XP other bits", false, Printer("P", kAll & ~PRINTER_ATTRIBUTE_RAW_ONLY, "hpprint"),
         kAll & ~PRINTER_ATTRIBUTE_ENABLE_BIDI, "WinPrint", "RAW", true},
        {"2000/XP 259-byte name", false, Printer(kLongName, kBidi, "lpprint"), kRight, "WinPrint", "RAW",
         true},
        {"95/98/ME raw-only clear", true,
         Printer("P", kLocal | PRINTER_ATTRIBUTE_ENABLE_BIDI, "hpprint", "EMF"), kLocal, "hpprint", "RAW",
         false},
        {"95/98/ME nothing named", true, Printer("P", kAll, nullptr, nullptr),
         kAll & ~PRINTER_ATTRIBUTE_ENABLE_BIDI, nullptr, "RAW", false},
    };
    for (const auto& c : cases) {
        FakeSpooler fake;
        if (c.win9x)
            fake.SetWin9x();
        fake.printers = {c.printer};
        int nCount = 0;
        BYTE byKind = 0;
        g_output.clear();
        ResetPrintProcessors(&nCount, &byKind, CaptureOutput);
        ASSERT_EQ(fake.sets.size(), 1u) << c.name;
        const SetRecord& set = fake.sets[0];
        EXPECT_EQ(set.printer, c.printer.name) << c.name;
        EXPECT_EQ(set.dwAttributes, c.attributes) << c.name;
        EXPECT_EQ(set.printProcessor, Quote(c.printProcessor)) << c.name;
        EXPECT_EQ(set.datatype, Quote(c.datatype)) << c.name;
        EXPECT_EQ(set.othersWhenSet, set.othersWhenRead) << c.name;
        if (c.ownWinPrint) {
            EXPECT_TRUE(set.bPrintProcessorBehindData) << c.name;
        }
    }
}

class CDocProbe : public CDoc {
public:
    using CDoc::m_byPlatformKind;
};

SOCKET WSAAPI NoSocket(int, int, int)
{
    ::WSASetLastError(WSAENETDOWN);
    return INVALID_SOCKET;
}

std::vector<std::string> g_traceFiles;
std::vector<std::string> g_traceTexts;

void RecordTrace(const char* pszFile, int, const char* pszText)
{
    g_traceFiles.push_back(pszFile);
    g_traceTexts.push_back(pszText);
}

// The monitor's copy: the same messages, one trace line each from the doc
// unit, and the platform kind in the document, not in procfix's variable.
TEST(DocResetTest, TracesTheSameTextsAndKeepsItsOwnKind)
{
#ifndef _DEBUG
    GTEST_SKIP() << "trace lines are written in debug builds only";
#endif
    // The document's service gets no socket: nothing binds port 60000.
    WinsockApi noSocket = RealWinsock();
    noSocket.socket = NoSocket;
    const WinsockApi* pOldWinsock = SetWinsockApi(&noSocket);
    {
        CDocProbe doc;
        const struct {
            const char* name;
            std::function<void(FakeSpooler&)> setup;
            BYTE kind;
        } scenarios[] = {
            {"95/98/ME",
             [](FakeSpooler& f) {
                 f.SetWin9x();
                 f.printers = {Printer("A", kBidi), Printer("B", kBidi), Printer("C", kRight)};
                 f.printers[1].bSetFails = true;
                 f.printers[2].bReportSize = false;
             },
             resetrules::kPlatformWin9x},
            {"2000/XP",
             [](FakeSpooler& f) {
                 f.printers = {Printer("A", kBidi, "winprint"), Printer("B", kBidi),
                               Printer(kLongName, kRight)};
                 f.printers[1].bSetFails = true;
                 f.printers[2].bOpenWithDefaults = f.printers[2].bOpenPlain = false;
             },
             resetrules::kPlatformNT5},
            {"unsupported", [](FakeSpooler& f) { f.dwMajorVersion = 6; }, resetrules::kPlatformUnsupported},
        };
        for (const auto& s : scenarios) {
            int nExpectedCount = 0;
            BYTE byKind = 0xEE;
            int nExpectedResult;
            {
                FakeSpooler fake;
                s.setup(fake);
                g_messages.clear();
                nExpectedResult = ResetPrintProcessors(&nExpectedCount, &byKind, CaptureOutput);
            }
            FakeSpooler fake;
            s.setup(fake);
            g_byPlatformKind = 0x55;
            g_traceFiles.clear();
            g_traceTexts.clear();
            AFX_TRACE_HOOK pOldHook = AfxSetTraceHook(RecordTrace);
            int nCount = 0;
            int nResult = doc.ResetPrintProcessors(&nCount);
            AfxSetTraceHook(pOldHook);
            EXPECT_EQ(nResult, nExpectedResult) << s.name;
            EXPECT_EQ(nCount, nExpectedCount) << s.name;
            EXPECT_EQ(g_traceTexts, g_messages) << s.name;
            for (const std::string& file : g_traceFiles)
                EXPECT_THAT(file, EndsWith("spoolscope/doc.cpp")) << s.name;
            EXPECT_EQ(doc.m_byPlatformKind, s.kind) << s.name;
            EXPECT_EQ(byKind, s.kind) << s.name;
            EXPECT_EQ(g_byPlatformKind, 0x55) << s.name;
        }
    }
    SetWinsockApi(pOldWinsock);
}

}  // namespace
