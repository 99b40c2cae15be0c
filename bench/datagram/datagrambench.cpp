// datagram_bench: status tables per second taken in through the network
// service (socket notification message, recvfrom, a copy of each record)
// against a bare blocking recvfrom loop, in the same process, on the same
// port, while a sender floods the port with status tables of eight named
// printers each.
//
//   datagram_bench [--seconds S] [--rounds N]
//
// The two take turns, N rounds of S seconds each. Prints
// "datagram<TAB><service tables/s><TAB><bare tables/s>".
#include "bench/benchclock.h"
#include "spoolscope/doc.h"
#include "spoolscope/net/datagram.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Tables taken by a bare loop in the given seconds; -1 if the port cannot be had.
long BareTables(double seconds)
{
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, 0);
    BOOL bReuse = TRUE;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&bReuse), sizeof(bReuse));
    DWORD nTimeoutMs = 100;
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&nTimeoutMs), sizeof(nTimeoutMs));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(datagram::kPort);
    if (::bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        ::closesocket(s);
        return -1;
    }
    char buffer[datagram::kReceiveLength];
    long nTables = 0;
    double end = NowMs() + seconds * 1000;
    while (NowMs() < end) {
        sockaddr_in from = {};
        int nFrom = sizeof(from);
        int nLength = ::recvfrom(s, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &nFrom);
        if (nLength == datagram::kTableLength)
            ++nTables;
    }
    ::closesocket(s);
    return nTables;
}

const UINT kRawNotify = WM_USER + 1;
long g_nRawTables = 0;

LRESULT CALLBACK RawNotifyProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg != kRawNotify)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    char buffer[datagram::kReceiveLength];
    sockaddr_in from = {};
    int nFrom = sizeof(from);
    int nLength = ::recvfrom(static_cast<SOCKET>(wParam), buffer, sizeof(buffer), 0,
                             reinterpret_cast<sockaddr*>(&from), &nFrom);
    if (nLength == datagram::kTableLength)
        ++g_nRawTables;
    return 0;
}

// Pumps messages for the given seconds, calling after() after each.
template <class F> void Pump(double seconds, F after)
{
    double end = NowMs() + seconds * 1000;
    while (NowMs() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
            after();
        }
    }
}

// Tables taken by a plain window procedure on the same notifications as the
// service's, one recvfrom a message, without the framework: where the
// service's cost lies, in the framework or in the notifications.
long RawNotifiedTables(double seconds)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RawNotifyProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "DatagramBenchRaw";
    ::RegisterClassA(&wc);
    HWND hWnd =
        ::CreateWindowA("DatagramBenchRaw", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, 0);
    BOOL bReuse = TRUE;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&bReuse), sizeof(bReuse));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(datagram::kPort);
    g_nRawTables = 0;
    if (hWnd != nullptr && ::bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0 &&
        ::WSAAsyncSelect(s, hWnd, kRawNotify, FD_READ) == 0)
        Pump(seconds, [] {});
    ::closesocket(s);
    if (hWnd != nullptr)
        ::DestroyWindow(hWnd);
    return g_nRawTables;
}

// Tables taken through the service in the given seconds, the records it
// keeps handed back as a poll tick would take them.
long ServiceTables(double seconds)
{
    CDoc doc;
    CArray<PrinterRecord*>* pRecords = doc.GetPrinterRecords();
    long nRecords = 0;
    auto take = [&] {
        nRecords += static_cast<long>(pRecords->GetSize());
        for (INT_PTR i = 0; i < pRecords->GetSize(); ++i)
            delete pRecords->GetAt(i);
        pRecords->RemoveAll();
    };
    Pump(seconds, [&] {
        if (pRecords->GetSize() >= 248)
            take();
    });
    take();
    return nRecords / datagram::kSlotCount;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 2;
    int nRounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--seconds") == 0)
            seconds = strtod(argv[i + 1], nullptr);
        else if (strcmp(argv[i], "--rounds") == 0)
            nRounds = static_cast<int>(strtol(argv[i + 1], nullptr, 10));
    }
    if (!(seconds > 0) || nRounds < 1) {
        fprintf(stderr, "usage: datagram_bench [--seconds S] [--rounds N]\n");
        return 2;
    }
    WSADATA wsaData;
    ::WSAStartup(MAKEWORD(2, 2), &wsaData);
    long nBare = 0, nService = 0, nRaw = 0;
    for (int i = 0; i < nRounds; ++i) {
        long nRoundBare = BareTables(seconds);
        long nRoundService = ServiceTables(seconds);
        long nRoundRaw = RawNotifiedTables(seconds);
        if (nRoundBare < 0) {
            fprintf(stderr, "datagram_bench: UDP port %u is taken\n", datagram::kPort);
            return 1;
        }
        fprintf(stderr,
                "round %d: bare %ld tables, service %ld tables, plain window procedure %ld tables in %.1f s "
                "each\n",
                i + 1, nRoundBare, nRoundService, nRoundRaw, seconds);
        nBare += nRoundBare;
        nService += nRoundService;
        nRaw += nRoundRaw;
    }
    fprintf(stderr, "tables/s: service %.0f, plain window procedure %.0f, bare loop %.0f\n",
            nService / (seconds * nRounds), nRaw / (seconds * nRounds), nBare / (seconds * nRounds));
    double total = seconds * nRounds;
    printf("datagram\t%.0f\t%.0f\n", nService / total, nBare / total);
    return 0;
}
