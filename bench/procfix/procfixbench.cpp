// procfix over many printers against the stand-in spooler: the time of the
// whole program beside the time spent inside the stand-in's calls. Prints
// details on stderr and one line on stdout:
//   procfix<TAB><ours_ms><TAB><spooler_ms>
// the medians over the repetitions of the time outside the spooler calls and
// of the time inside them.
//
//   procfix_bench.exe [--printers N] [--repeat R]
#include "procfix/procfixmain.h"

#include "fakespooler.h"
#include "timedspooler.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

size_t g_nOutputBytes = 0;

// Formats each message as the console would get it, and drops it: the
// console's own cost is not procfix's.
int DiscardOutput(const char* pszFormat, va_list args)
{
    char sz[1024];
    int nLength = vsnprintf(sz, sizeof(sz), pszFormat, args);
    g_nOutputBytes += static_cast<size_t>(std::max(nLength, 0));
    return nLength;
}

// A mix of what a machine's printers look like: most need a reset, some are
// right, some refuse the open with all access, the size query or the change.
void AddPrinters(FakeSpooler& fake, int nPrinters)
{
    fake.printers.reserve(static_cast<size_t>(nPrinters));
    for (int i = 0; i < nPrinters; ++i) {
        char szName[32];
        snprintf(szName, sizeof(szName), "Printer %04d", i);
        FakePrinter printer;
        switch (i % 8) {
        case 0:
        case 5:
            printer = Printer(szName, kRight);
            break;
        case 1:
            printer = Printer(szName, kBidi);
            break;
        case 2:
            printer = Printer(szName, kRight, "winprint");
            break;
        case 3:
            printer = Printer(szName, PRINTER_ATTRIBUTE_LOCAL, "hpprint", "TEXT");
            break;
        case 4:
            printer = Printer(szName, kBidi);
            printer.bOpenWithDefaults = false;
            break;
        case 6:
            printer = Printer(szName, kBidi);
            printer.bReportSize = false;
            break;
        default:
            printer = Printer(szName, kBidi, "lpprint");
            printer.bSetFails = true;
            break;
        }
        fake.printers.push_back(printer);
    }
}

// The average cost of one clock read, in ticks. Each timed call reads the
// clock twice; about one read's worth falls outside the measured span.
double ClockReadTicks()
{
    const int nReads = 100000;
    LARGE_INTEGER start, now;
    ::QueryPerformanceCounter(&start);
    for (int i = 1; i < nReads; ++i)
        ::QueryPerformanceCounter(&now);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) / nReads;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Reads a number from 1 to nMax; false when the text is anything else.
bool ParseCount(const char* psz, int nMax, int* pnValue)
{
    char* pEnd = nullptr;
    long lValue = strtol(psz, &pEnd, 10);
    if (pEnd == psz || *pEnd != '\0' || lValue < 1 || lValue > nMax)
        return false;
    *pnValue = static_cast<int>(lValue);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int nPrinters = 1000;
    int nRepeat = 7;
    for (int i = 1; i < argc; ++i) {
        bool bOk = false;
        if (i + 1 < argc && strcmp(argv[i], "--printers") == 0)
            bOk = ParseCount(argv[++i], 100000, &nPrinters);
        else if (i + 1 < argc && strcmp(argv[i], "--repeat") == 0)
            bOk = ParseCount(argv[++i], 1000, &nRepeat);
        if (!bOk) {
            fprintf(stderr, "usage: procfix_bench [--printers N (1-100000)] [--repeat R (1-1000)]\n");
            return 2;
        }
    }
    // The one line on stdout ends in a line feed alone.
    _setmode(_fileno(stdout), _O_BINARY);

    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    const double dMsPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);

    const double dClockReadMs = ClockReadTicks() * dMsPerTick;
    std::vector<double> ours, spooler, total;
    size_t nCalls = 0;
    for (int r = 0; r < nRepeat; ++r) {
        FakeSpooler fake;
        AddPrinters(fake, nPrinters);
        fake.calls.reserve(static_cast<size_t>(nPrinters) * 8 + 8);
        g_nOutputBytes = 0;
        InstallTimedSpooler();
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        ProcfixMain(DiscardOutput);
        ::QueryPerformanceCounter(&end);
        const LONGLONG llSpooler = TimedSpoolerTicks();
        RemoveTimedSpooler();

        const double dTotal = static_cast<double>(end.QuadPart - start.QuadPart) * dMsPerTick;
        const double dSpooler = static_cast<double>(llSpooler) * dMsPerTick;
        total.push_back(dTotal);
        spooler.push_back(dSpooler);
        ours.push_back(dTotal - dSpooler);
        nCalls = fake.calls.size();
        fprintf(stderr, "run %d: %zu calls, %zu sets, %zu bytes of output; total %.3f ms, spooler %.3f ms\n",
                r + 1, fake.calls.size(), fake.sets.size(), g_nOutputBytes, dTotal, dSpooler);
    }

    const double dOurs = Median(ours);
    const double dSpooler = Median(spooler);
    const double dTotal = Median(total);
    fprintf(stderr,
            "%d printers, %d runs, medians: total %.3f ms, spooler %.3f ms, ours %.3f ms (%.1f%% of total)\n",
            nPrinters, nRepeat, dTotal, dSpooler, dOurs, dTotal > 0 ? 100.0 * dOurs / dTotal : 0.0);
    fprintf(stderr, "of ours, about %.3f ms are the timer's clock reads (%.0f ns each)\n",
            static_cast<double>(nCalls) * dClockReadMs, dClockReadMs * 1e6);
    printf("procfix\t%.3f\t%.3f\n", dOurs, dSpooler);
    return 0;
}
