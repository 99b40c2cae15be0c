// monitor_bench: the monitor's own work, timed and weighed inside one
// process, with the dialog created from its template and every tick sent
// by hand (the dialog's timers never fire here).
//
//   monitor_bench polltick [--servers N] [--printers N] [--ticks N]
//       StorePrinterRecords and RebuildTree with N servers in the tree;
//       prints "polltick<TAB><median ms><TAB>2000".
//   monitor_bench memory [--ticks N] [--discoveries N] [--servers N] [--printers N]
//       private bytes after 100 poll ticks and after N more ticks with N
//       discoveries among them; prints "memory<TAB><KiB after><TAB><KiB after 100>".
#include "bench/benchclock.h"
#include "benchdialog.h"

#include "spoolscope/res/resource.h"
#include "support/loopbackwinsock.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Settings {
    int nServers = 254;
    int nPrinters = 16;
    int nTicks = 0;
    int nDiscoveries = 100;
};

size_t PrivateKiB()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters));
    return counters.PrivateUsage / 1024;
}

// Bytes in use on every heap of the process: what the program holds,
// without the heaps' reserve.
size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    DWORD nHeaps = ::GetProcessHeaps(64, heaps);
    size_t nBytes = 0;
    for (DWORD i = 0; i < nHeaps && i < 64; ++i) {
        if (!::HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                nBytes += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return nBytes;
}

// The dialog, polling the first of nServers servers.
bool OpenPolling(CBenchDlg* pDlg, const Settings& settings)
{
    if (!pDlg->Create(IDD_SPOOLSCOPE_DIALOG)) {
        fprintf(stderr, "monitor_bench: the dialog was not created (error %lu)\n", ::GetLastError());
        return false;
    }
    pDlg->ReceiveReplies(settings.nServers);
    pDlg->FinishDiscovery();
    return true;
}

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_TIMER)
            ::DispatchMessageA(&msg);
    }
}

int PollTick(const Settings& settings)
{
    CBenchDlg dlg;
    if (!OpenPolling(&dlg, settings))
        return 1;
    std::vector<double> times;
    for (int i = 0; i < settings.nTicks; ++i) {
        dlg.ReceiveRecords(settings.nPrinters);
        double start = NowMs();
        dlg.StorePrinterRecords();
        dlg.RebuildTree();
        times.push_back(NowMs() - start);
        DrainMessages();
    }
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    fprintf(stderr,
            "poll tick, %d servers, %d printers, %d ticks: median %.3f ms, fastest %.3f, slowest %.3f\n",
            settings.nServers, settings.nPrinters, settings.nTicks, median, times.front(), times.back());
    printf("polltick\t%.3f\t2000\n", median);
    dlg.DestroyWindow();
    return 0;
}

int Memory(const Settings& settings)
{
    CBenchDlg dlg;
    if (!OpenPolling(&dlg, settings))
        return 1;
    auto tick = [&] {
        dlg.ReceiveRecords(settings.nPrinters);
        dlg.Tick(CSpoolscopeDlg::kPollTimer);
        DrainMessages();
    };
    for (int i = 0; i < 100; ++i)
        tick();
    size_t nEarlyKiB = PrivateKiB();
    size_t nEarlyHeap = HeapBytesInUse();
    int nEvery = settings.nDiscoveries > 0 ? settings.nTicks / settings.nDiscoveries : 0;
    for (int i = 1; i <= settings.nTicks; ++i) {
        tick();
        if (nEvery > 0 && i % nEvery == 0) {
            dlg.ClickDiscovery();
            LoopbackWinsock::Broadcasts().clear();
            dlg.ReceiveReplies(settings.nServers);
            dlg.FinishDiscovery();
        }
    }
    size_t nLateKiB = PrivateKiB();
    size_t nLateHeap = HeapBytesInUse();
    fprintf(
        stderr,
        "memory, %d servers, %d printers: after 100 ticks %zu KiB private, %zu bytes on the heaps; after %d "
        "more ticks and %d discoveries %zu KiB private, %zu bytes on the heaps\n",
        settings.nServers, settings.nPrinters, nEarlyKiB, nEarlyHeap, settings.nTicks, settings.nDiscoveries,
        nLateKiB, nLateHeap);
    // Wine reports no private bytes (0): the heaps' bytes in use stand in.
    printf("memory\t%zu\t%zu\n", nLateKiB > 0 ? nLateKiB : nLateHeap / 1024,
           nEarlyKiB > 0 ? nEarlyKiB : nEarlyHeap / 1024);
    dlg.DestroyWindow();
    return 0;
}

int Usage()
{
    fprintf(stderr, "usage: monitor_bench polltick|memory [--servers N] [--printers N] [--ticks N] "
                    "[--discoveries N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    std::string mode = argv[1];
    Settings settings;
    if (mode == "memory")
        settings = {8, 16, 10000, 100};
    else if (mode == "polltick")
        settings.nTicks = 200;
    else
        return Usage();
    for (int i = 2; i + 1 < argc; i += 2) {
        int nValue = static_cast<int>(strtol(argv[i + 1], nullptr, 10));
        if (strcmp(argv[i], "--servers") == 0 && nValue > 0)
            settings.nServers = nValue;
        else if (strcmp(argv[i], "--printers") == 0 && nValue >= 0)
            settings.nPrinters = nValue;
        else if (strcmp(argv[i], "--ticks") == 0 && nValue > 0)
            settings.nTicks = nValue;
        else if (strcmp(argv[i], "--discoveries") == 0 && nValue >= 0)
            settings.nDiscoveries = nValue;
        else
            return Usage();
    }
    ::InitCommonControls();
    WSADATA wsaData;
    ::WSAStartup(MAKEWORD(2, 2), &wsaData);
    // No broadcast leaves the machine, however many discoveries run.
    LoopbackWinsock winsock;
    return mode == "memory" ? Memory(settings) : PollTick(settings);
}
