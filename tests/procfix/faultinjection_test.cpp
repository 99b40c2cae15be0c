// procfix when the platform refuses a call or answers oddly. Every call of a
// walk over a few printers fails in turn; the expected output follows from
// the failure rules, applied to the call that failed. The program must go
// on, print exactly that, end with 0, close what it opened, use no handle it
// does not hold, and hand SetPrinterA nothing it did not read.
#include "procfix/procfixmain.h"

#include "consoletexts.h"
#include "fakespooler.h"
#include "outputcapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// One printer of the fixture and whether each kind resets it.
struct FixturePrinter {
    FakePrinter printer;
    bool bResetNT5;
    bool bResetWin9x;
};

std::vector<FixturePrinter> Fixture()
{
    FixturePrinter shared = {Printer("Shared", kBidi, "winprint"), true, true};
    shared.printer.bOpenWithDefaults = false;
    return {
        {Printer("Ready", kRight), false, false},
        {Printer("Bidi", kBidi), true, true},
        shared,
        {Printer("Plain", PRINTER_ATTRIBUTE_LOCAL, "hpprint"), true, false},
    };
}

void SetUpFixture(FakeSpooler& fake, bool bWin9x)
{
    if (bWin9x)
        fake.SetWin9x();
    for (const FixturePrinter& p : Fixture())
        fake.printers.push_back(p.printer);
}

enum class Step {
    kNone,
    kVersion,
    kOpenKey,
    kEnum,
    kOpenAllAccess,
    kOpenPlain,
    kSizeQuery,
    kRead,
    kSet,
    kClosePrinter,
    kCloseKey,
};

struct Call {
    Step step;
    size_t nIndex;        // kEnum: the index asked for
    std::string printer;  // steps on one printer: its name
};

// Which step a call recorded by the stand-in is.
Call Classify(const std::string& text)
{
    auto startsWith = [&](const char* psz) { return text.rfind(psz, 0) == 0; };
    size_t nArgs = text.find('(') + 1;
    const std::string first = text.substr(nArgs, text.find_first_of(",)", nArgs) - nArgs);
    if (startsWith("GetVersionExA("))
        return {Step::kVersion, 0, ""};
    if (startsWith("RegOpenKeyExA("))
        return {Step::kOpenKey, 0, ""};
    if (startsWith("RegEnumKeyA("))
        return {Step::kEnum, std::stoul(first), ""};
    if (startsWith("OpenPrinterA("))
        return {text.find(",{") != std::string::npos ? Step::kOpenAllAccess : Step::kOpenPlain, 0, first};
    if (startsWith("GetPrinterA("))
        return {text.find(",null,") != std::string::npos ? Step::kSizeQuery : Step::kRead, 0, first};
    if (startsWith("SetPrinterA("))
        return {Step::kSet, 0, first};
    if (startsWith("ClosePrinter("))
        return {Step::kClosePrinter, 0, first};
    if (startsWith("RegCloseKey"))
        return {Step::kCloseKey, 0, ""};
    ADD_FAILURE() << "unknown call " << text;
    return {Step::kNone, 0, ""};
}

// Fills the stack below the caller with non-zero bytes: a string read past
// its buffer then shows, instead of ending at a zero left there by chance.
__attribute__((noinline)) void PaintStack()
{
    volatile char area[32768];
    for (size_t i = 0; i < sizeof(area); ++i)
        area[i] = 0x5A;
}

struct Expected {
    std::string output;
    std::vector<std::string> handed;  // printers handed to SetPrinterA, in order
};

// The failure rules applied to the fixture when the call `failed` fails.
Expected Expect(bool bWin9x, const Call& failed)
{
    if (failed.step == Step::kVersion)
        return {kBanner + kUnsupported + kCheckOver + kNote + kPress, {}};
    Expected expected;
    expected.output = kBanner;
    const std::vector<FixturePrinter> fixture = Fixture();
    for (size_t i = 0; i < fixture.size() && failed.step != Step::kOpenKey; ++i) {
        if (failed.step == Step::kEnum && failed.nIndex == i)
            break;
        const std::string& name = fixture[i].printer.name;
        const Step step = failed.printer == name ? failed.step : Step::kNone;
        if (step == Step::kOpenPlain) {
            // Only tried once the open with all access failed.
            expected.output += OpenError(name);
        } else if (step == Step::kSizeQuery) {
            expected.output += AccessDenied(name);
        } else if (step != Step::kRead && (bWin9x ? fixture[i].bResetWin9x : fixture[i].bResetNT5)) {
            expected.output +=
                NeedReset(name) + (step == Step::kSet ? ResetError(name, bWin9x) : ResetOk(name));
            expected.handed.push_back(name);
        }
    }
    expected.output += kCheckOver;
    if (expected.handed.empty())
        expected.output += kNote;
    if (bWin9x)
        expected.output += kHint;
    expected.output += kPress;
    return expected;
}

std::vector<std::string> Handed(const FakeSpooler& fake)
{
    std::vector<std::string> names;
    for (const SetRecord& set : fake.sets)
        names.push_back(set.printer);
    return names;
}

TEST(ProcfixFaultTest, EveryCallOfAWalkFailsInTurn)
{
    for (bool bWin9x : {false, true}) {
        SCOPED_TRACE(bWin9x ? "95/98/ME" : "2000/XP");
        std::vector<std::string> clean;
        {
            FakeSpooler fake;
            SetUpFixture(fake, bWin9x);
            g_output.clear();
            EXPECT_EQ(ProcfixMain(CaptureOutput), 0);
            EXPECT_EQ(g_output, Expect(bWin9x, {Step::kNone, 0, ""}).output);
            clean = fake.calls;
        }
        for (size_t k = 1; k <= clean.size(); ++k) {
            SCOPED_TRACE("call " + std::to_string(k) + " fails: " + clean[k - 1]);
            FakeSpooler fake;
            SetUpFixture(fake, bWin9x);
            fake.nFailCall = k;
            g_output.clear();
            PaintStack();
            EXPECT_EQ(ProcfixMain(CaptureOutput), 0);
            ASSERT_GE(fake.calls.size(), k);
            EXPECT_EQ(std::vector<std::string>(fake.calls.begin(), fake.calls.begin() + k),
                      std::vector<std::string>(clean.begin(), clean.begin() + k));

            const Expected expected = Expect(bWin9x, Classify(clean[k - 1]));
            EXPECT_EQ(g_output, expected.output);
            EXPECT_EQ(Handed(fake), expected.handed);
            EXPECT_THAT(fake.calls, Each(Not(HasSubstr("?"))));
            EXPECT_EQ(fake.nOpenHandles, 0);
            EXPECT_EQ(fake.nOpenKeys, 0);
        }
    }
}

// Odd answers about one printer, followed by an ordinary one: the odd one
// gets the messages of the failure rules (or is handled as any other when
// its data is usable), and the walk goes on to the next.
TEST(ProcfixFaultTest, OddAnswersAboutOnePrinter)
{
    const std::string kFull(260, 'F');
    const std::string kDirectives = "%s%n%d%%";
    const struct {
        const char* name;
        bool bWin9x;
        std::string printer;
        std::function<void(FakePrinter&)> makeOdd;
        std::string output;  // for the odd printer
        bool bHanded;        // the odd printer is handed to SetPrinterA
    } cases[] = {
        {"needed size 0 on 95/98/ME", true, "Odd",
         [](FakePrinter& p) {
             p.bReportSize = false;
             p.dwReportedSize = 0;
         },
         AccessDenied("Odd"), false},
        {"needed size whose sum with the copy wraps to 0", false, "Odd",
         [](FakePrinter& p) {
             p.bReportSize = false;
             p.dwReportedSize = MAXDWORD - 8;
         },
         "", false},
        {"needed size 4 GiB - 1", false, "Odd",
         [](FakePrinter& p) {
             p.bReportSize = false;
             p.dwReportedSize = MAXDWORD;
         },
         "", false},
        {"data grew by a byte between the two reads", false, "Odd",
         [](FakePrinter& p) {
             p.bReportSize = false;
             p.dwReportedSize = Level2Size(p) - 1;
         },
         "", false},
        {"needed size a byte short of a record, the read claims success", false, "Odd",
         [](FakePrinter& p) {
             p.bReportSize = false;
             p.dwReportedSize = sizeof(PRINTER_INFO_2A) - 1;
             p.bReadIgnoresSize = true;
         },
         "", false},
        {"neither print processor nor data type", false, "Odd",
         [](FakePrinter& p) { p.pszPrintProcessor = p.pszDatatype = nullptr; },
         NeedReset("Odd") + ResetOk("Odd"), true},
        {"a name that fills the whole buffer without a zero byte", false, kFull,
         [](FakePrinter& p) { p.bUnterminatedName = true; }, NeedReset(kFull) + ResetOk(kFull), true},
        {"printf directives in the name", false, kDirectives, [](FakePrinter&) {},
         NeedReset(kDirectives) + ResetOk(kDirectives), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSpooler fake;
        if (c.bWin9x)
            fake.SetWin9x();
        FakePrinter odd = Printer(c.printer, kBidi, "winprint");
        c.makeOdd(odd);
        fake.printers = {odd, Printer("Next", kBidi)};
        g_output.clear();
        PaintStack();
        EXPECT_EQ(ProcfixMain(CaptureOutput), 0);
        EXPECT_EQ(g_output, kBanner + c.output + NeedReset("Next") + ResetOk("Next") + kCheckOver +
                                (c.bWin9x ? kHint : "") + kPress);
        std::vector<std::string> handed = {"Next"};
        if (c.bHanded)
            handed.insert(handed.begin(), c.printer);
        EXPECT_EQ(Handed(fake), handed);
        EXPECT_EQ(fake.nOpenHandles, 0);
    }
}

}  // namespace
