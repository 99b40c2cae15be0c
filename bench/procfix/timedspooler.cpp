#include "timedspooler.h"

#include "procfix/spoolerapi.h"

namespace {

const SpoolerApi* g_pInner = nullptr;
LONGLONG g_llTicks = 0;

// Starts the clock on construction and adds the elapsed ticks on destruction.
class CallTimer {
public:
    CallTimer() { ::QueryPerformanceCounter(&m_start); }
    ~CallTimer()
    {
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&end);
        g_llTicks += end.QuadPart - m_start.QuadPart;
    }

private:
    LARGE_INTEGER m_start;
};

BOOL WINAPI TimedGetVersionEx(LPOSVERSIONINFOA pInfo)
{
    CallTimer timer;
    return g_pInner->GetVersionExA(pInfo);
}

LSTATUS WINAPI TimedRegOpenKeyEx(HKEY hKey, LPCSTR pszSubKey, DWORD dwOptions, REGSAM samDesired,
                                 PHKEY phResult)
{
    CallTimer timer;
    return g_pInner->RegOpenKeyExA(hKey, pszSubKey, dwOptions, samDesired, phResult);
}

LSTATUS WINAPI TimedRegEnumKey(HKEY hKey, DWORD dwIndex, LPSTR pszName, DWORD cchName)
{
    CallTimer timer;
    return g_pInner->RegEnumKeyA(hKey, dwIndex, pszName, cchName);
}

LSTATUS WINAPI TimedRegCloseKey(HKEY hKey)
{
    CallTimer timer;
    return g_pInner->RegCloseKey(hKey);
}

BOOL WINAPI TimedOpenPrinter(LPSTR pszName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefaults)
{
    CallTimer timer;
    return g_pInner->OpenPrinterA(pszName, phPrinter, pDefaults);
}

BOOL WINAPI TimedGetPrinter(HANDLE hPrinter, DWORD dwLevel, LPBYTE pBuffer, DWORD cbBuf, LPDWORD pcbNeeded)
{
    CallTimer timer;
    return g_pInner->GetPrinterA(hPrinter, dwLevel, pBuffer, cbBuf, pcbNeeded);
}

BOOL WINAPI TimedSetPrinter(HANDLE hPrinter, DWORD dwLevel, LPBYTE pBuffer, DWORD dwCommand)
{
    CallTimer timer;
    return g_pInner->SetPrinterA(hPrinter, dwLevel, pBuffer, dwCommand);
}

BOOL WINAPI TimedClosePrinter(HANDLE hPrinter)
{
    CallTimer timer;
    return g_pInner->ClosePrinter(hPrinter);
}

const SpoolerApi kTimedApi = {
    TimedGetVersionEx, TimedRegOpenKeyEx, TimedRegEnumKey, TimedRegCloseKey,
    TimedOpenPrinter,  TimedGetPrinter,   TimedSetPrinter, TimedClosePrinter,
};

}  // namespace

void InstallTimedSpooler()
{
    g_llTicks = 0;
    g_pInner = &Spooler();
    SetSpoolerApi(&kTimedApi);
}

void RemoveTimedSpooler()
{
    SetSpoolerApi(g_pInner == &RealSpooler() ? nullptr : g_pInner);
    g_pInner = nullptr;
}

LONGLONG TimedSpoolerTicks()
{
    return g_llTicks;
}
