#include "fakespooler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

FakeSpooler* g_pFake = nullptr;
const HKEY kPrintersKey = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x4242));
const DWORD kDriverExtra = 24;
const DWORD kSecurityLength = 20;

// What the second read of one printer left behind.
struct ReadState {
    BYTE* pBuffer = nullptr;
    DWORD cbBuffer = 0;
    std::string others;
};
std::vector<ReadState> g_reads;
std::vector<bool> g_open;  // per printer: its handle is open

// Records the call; true when it is the one that is to fail.
bool Record(const std::string& call)
{
    g_pFake->calls.push_back(call);
    return g_pFake->calls.size() == g_pFake->nFailCall;
}

HANDLE PrinterHandle(size_t nIndex)
{
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1000 + nIndex));
}

size_t PrinterIndex(HANDLE hPrinter)
{
    return static_cast<size_t>(reinterpret_cast<uintptr_t>(hPrinter) - 0x1000);
}

// The printer behind an open handle; nullptr for any other handle.
const FakePrinter* OpenPrinterOf(HANDLE hPrinter)
{
    size_t nIndex = PrinterIndex(hPrinter);
    if (nIndex >= g_pFake->printers.size() || nIndex >= g_open.size() || !g_open[nIndex])
        return nullptr;
    return &g_pFake->printers[nIndex];
}

std::string Text(const char* psz)
{
    return psz != nullptr ? std::string("\"") + psz + "\"" : "(null)";
}

std::string Bytes(const void* p, size_t nLength)
{
    char sz[64];
    snprintf(sz, sizeof(sz), "%p:", p);
    std::string result = sz;
    for (size_t i = 0; p != nullptr && i < nLength; ++i) {
        snprintf(sz, sizeof(sz), "%02x", static_cast<const BYTE*>(p)[i]);
        result += sz;
    }
    return result;
}

// Every field but Attributes, pPrintProcessor and pDatatype, with what the
// pointers point to.
std::string DescribeOthers(const PRINTER_INFO_2A& info)
{
    std::string s = "server=" + Text(info.pServerName) + " printer=" + Text(info.pPrinterName) +
                    " share=" + Text(info.pShareName) + " port=" + Text(info.pPortName) +
                    " driver=" + Text(info.pDriverName) + " comment=" + Text(info.pComment) +
                    " location=" + Text(info.pLocation) + " sepfile=" + Text(info.pSepFile) +
                    " parameters=" + Text(info.pParameters);
    size_t nDevMode = info.pDevMode != nullptr ? info.pDevMode->dmSize + info.pDevMode->dmDriverExtra : 0;
    s += " devmode=" + Bytes(info.pDevMode, nDevMode);
    s += " security=" + Bytes(info.pSecurityDescriptor, kSecurityLength);
    char sz[128];
    snprintf(sz, sizeof(sz), " priority=%lu default=%lu start=%lu until=%lu status=%#lx jobs=%lu ppm=%lu",
             info.Priority, info.DefaultPriority, info.StartTime, info.UntilTime, info.Status, info.cJobs,
             info.AveragePPM);
    return s + sz;
}

// Lays out the record and everything it points to as the spooler does, into
// pBuffer (nullptr: only measures); returns the size.
DWORD WriteLevel2(const FakePrinter& printer, BYTE* pBuffer)
{
    size_t nOffset = sizeof(PRINTER_INFO_2A);
    auto place = [&](size_t nSize, size_t nAlign) -> BYTE* {
        nOffset = (nOffset + nAlign - 1) / nAlign * nAlign;
        BYTE* p = pBuffer != nullptr ? pBuffer + nOffset : nullptr;
        nOffset += nSize;
        return p;
    };
    auto text = [&](const char* psz) -> LPSTR {
        if (psz == nullptr)
            return nullptr;
        size_t nSize = strlen(psz) + 1;
        BYTE* p = place(nSize, 1);
        if (p != nullptr)
            memcpy(p, psz, nSize);
        return reinterpret_cast<LPSTR>(p);
    };
    PRINTER_INFO_2A info = {};
    info.pPrinterName = text(printer.name.c_str());
    info.pShareName = text("shared");
    info.pPortName = text("LPT1:");
    info.pDriverName = text("Fake Laser");
    info.pComment = text("second floor");
    info.pLocation = text("room 2");
    BYTE* pDevMode = place(sizeof(DEVMODEA) + kDriverExtra, 8);
    info.pSepFile = text("");
    info.pPrintProcessor = text(printer.pszPrintProcessor);
    info.pDatatype = text(printer.pszDatatype);
    info.pParameters = text("-x 3");
    BYTE* pSecurity = place(kSecurityLength, 8);
    info.Attributes = printer.dwAttributes;
    info.Priority = 7;
    info.DefaultPriority = 3;
    info.StartTime = 60;
    info.UntilTime = 1380;
    info.Status = PRINTER_STATUS_PAUSED;
    info.cJobs = 2;
    info.AveragePPM = 12;
    if (pBuffer != nullptr) {
        for (DWORD i = 0; i < sizeof(DEVMODEA) + kDriverExtra; ++i)
            pDevMode[i] = static_cast<BYTE>(i * 7 + 1);
        DEVMODEA* pMode = reinterpret_cast<DEVMODEA*>(pDevMode);
        pMode->dmSize = sizeof(DEVMODEA);
        pMode->dmDriverExtra = kDriverExtra;
        info.pDevMode = pMode;
        for (DWORD i = 0; i < kSecurityLength; ++i)
            pSecurity[i] = static_cast<BYTE>(0xA0 + i);
        info.pSecurityDescriptor = pSecurity;
        memcpy(pBuffer, &info, sizeof(info));
    }
    return static_cast<DWORD>(nOffset);
}

bool AllZero(const void* p, size_t nLength)
{
    for (size_t i = 0; i < nLength; ++i)
        if (static_cast<const BYTE*>(p)[i] != 0)
            return false;
    return true;
}

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA pInfo)
{
    bool bZeroed =
        AllZero(reinterpret_cast<const BYTE*>(pInfo) + sizeof(DWORD), sizeof(*pInfo) - sizeof(DWORD));
    bool bFail = Record("GetVersionExA(" + std::to_string(pInfo->dwOSVersionInfoSize) +
                        (bZeroed ? ",zeroed)" : ",dirty)"));
    if (bFail || !g_pFake->bVersionResult)
        return FALSE;
    pInfo->dwMajorVersion = g_pFake->dwMajorVersion;
    pInfo->dwMinorVersion = g_pFake->dwMinorVersion;
    pInfo->dwBuildNumber = 2600;
    pInfo->dwPlatformId = g_pFake->dwPlatformId;
    strcpy(pInfo->szCSDVersion, "Service Pack 2");
    return TRUE;
}

LSTATUS WINAPI FakeRegOpenKeyEx(HKEY hKey, LPCSTR pszSubKey, DWORD dwOptions, REGSAM samDesired,
                                PHKEY phResult)
{
    char sz[64];
    snprintf(sz, sizeof(sz), ",%lu,%#lx)", dwOptions, static_cast<unsigned long>(samDesired));
    if (Record(std::string("RegOpenKeyExA(") + (hKey == HKEY_LOCAL_MACHINE ? "HKLM," : "?,") + pszSubKey +
               sz))
        return ERROR_ACCESS_DENIED;
    if (g_pFake->lOpenKeyResult != ERROR_SUCCESS)
        return g_pFake->lOpenKeyResult;
    *phResult = kPrintersKey;
    ++g_pFake->nOpenKeys;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI FakeRegEnumKey(HKEY hKey, DWORD dwIndex, LPSTR pszName, DWORD cchName)
{
    if (Record("RegEnumKeyA(" + std::string(hKey == kPrintersKey ? "" : "?,") + std::to_string(dwIndex) +
               "," + std::to_string(cchName) + (AllZero(pszName, cchName) ? ",zeroed)" : ",dirty)")))
        return ERROR_ACCESS_DENIED;
    if (dwIndex >= g_pFake->printers.size())
        return ERROR_NO_MORE_ITEMS;
    const FakePrinter& printer = g_pFake->printers[dwIndex];
    if (printer.lEnumResult != ERROR_SUCCESS)
        return printer.lEnumResult;
    if (printer.bUnterminatedName) {
        memcpy(pszName, printer.name.c_str(), std::min<size_t>(printer.name.size(), cchName));
        return ERROR_SUCCESS;
    }
    if (printer.name.size() + 1 > cchName)
        return ERROR_MORE_DATA;
    memcpy(pszName, printer.name.c_str(), printer.name.size() + 1);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI FakeRegCloseKey(HKEY hKey)
{
    bool bFail = Record(hKey == kPrintersKey ? "RegCloseKey" : "RegCloseKey(?)");
    --g_pFake->nOpenKeys;
    return bFail ? ERROR_INVALID_HANDLE : ERROR_SUCCESS;
}

BOOL WINAPI FakeOpenPrinter(LPSTR pszName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefaults)
{
    std::string call = std::string("OpenPrinterA(") + pszName;
    if (pDefaults != nullptr) {
        char sz[64];
        snprintf(sz, sizeof(sz), ",{%s,%s,%#lx})", pDefaults->pDatatype != nullptr ? "type" : "null",
                 pDefaults->pDevMode != nullptr ? "mode" : "null", pDefaults->DesiredAccess);
        call += sz;
    } else {
        call += ",null)";
    }
    bool bFail = Record(call);
    for (size_t i = 0; i < g_pFake->printers.size() && !bFail; ++i) {
        const FakePrinter& printer = g_pFake->printers[i];
        if (printer.name != pszName)
            continue;
        if (!(pDefaults != nullptr ? printer.bOpenWithDefaults : printer.bOpenPlain))
            break;
        *phPrinter = PrinterHandle(i);
        g_open.resize(g_pFake->printers.size());
        g_open[i] = true;
        ++g_pFake->nOpenHandles;
        return TRUE;
    }
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI FakeGetPrinter(HANDLE hPrinter, DWORD dwLevel, LPBYTE pBuffer, DWORD cbBuf, LPDWORD pcbNeeded)
{
    const FakePrinter* pPrinter = OpenPrinterOf(hPrinter);
    bool bFail =
        Record("GetPrinterA(" + (pPrinter != nullptr ? pPrinter->name : "?") + "," + std::to_string(dwLevel) +
               "," + (pBuffer != nullptr ? "buffer," : "null,") + std::to_string(cbBuf) + ")");
    if (pPrinter == nullptr || bFail) {
        ::SetLastError(pPrinter == nullptr ? ERROR_INVALID_HANDLE : ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const FakePrinter& printer = *pPrinter;
    size_t nIndex = PrinterIndex(hPrinter);
    DWORD dwSize = WriteLevel2(printer, nullptr);
    if (pBuffer == nullptr) {
        *pcbNeeded = printer.bReportSize ? dwSize : printer.dwReportedSize;
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (printer.bReadFails) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (cbBuf < dwSize) {
        if (printer.bReadIgnoresSize) {
            memset(pBuffer, 0xCC, cbBuf);
            return TRUE;
        }
        *pcbNeeded = dwSize;
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    WriteLevel2(printer, pBuffer);
    *pcbNeeded = dwSize;
    g_reads.resize(g_pFake->printers.size());
    g_reads[nIndex] = {pBuffer, cbBuf, DescribeOthers(*reinterpret_cast<PRINTER_INFO_2A*>(pBuffer))};
    return TRUE;
}

BOOL WINAPI FakeSetPrinter(HANDLE hPrinter, DWORD dwLevel, LPBYTE pBuffer, DWORD dwCommand)
{
    const FakePrinter* pPrinter = OpenPrinterOf(hPrinter);
    bool bFail = Record("SetPrinterA(" + (pPrinter != nullptr ? pPrinter->name : "?") + "," +
                        std::to_string(dwLevel) + "," + std::to_string(dwCommand) + ")");
    if (pPrinter == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const FakePrinter& printer = *pPrinter;
    size_t nIndex = PrinterIndex(hPrinter);
    const PRINTER_INFO_2A& info = *reinterpret_cast<PRINTER_INFO_2A*>(pBuffer);
    g_reads.resize(g_pFake->printers.size());
    const ReadState& read = g_reads[nIndex];
    SetRecord set;
    set.printer = printer.name;
    set.dwAttributes = info.Attributes;
    set.printProcessor = Text(info.pPrintProcessor);
    set.datatype = Text(info.pDatatype);
    set.othersWhenRead = read.others;
    set.othersWhenSet = DescribeOthers(info);
    set.bPrintProcessorBehindData =
        reinterpret_cast<BYTE*>(info.pPrintProcessor) == read.pBuffer + read.cbBuffer;
    set.bWritten = !bFail && !printer.bSetFails;
    g_pFake->sets.push_back(set);
    if (!set.bWritten) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FakeClosePrinter(HANDLE hPrinter)
{
    const FakePrinter* pPrinter = OpenPrinterOf(hPrinter);
    bool bFail = Record("ClosePrinter(" + (pPrinter != nullptr ? pPrinter->name : "?") + ")");
    if (pPrinter == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    g_open[PrinterIndex(hPrinter)] = false;
    --g_pFake->nOpenHandles;
    return bFail ? FALSE : TRUE;
}

const SpoolerApi kFakeApi = {
    FakeGetVersionEx, FakeRegOpenKeyEx, FakeRegEnumKey, FakeRegCloseKey,
    FakeOpenPrinter,  FakeGetPrinter,   FakeSetPrinter, FakeClosePrinter,
};

}  // namespace

FakePrinter Printer(const std::string& name, DWORD dwAttributes, const char* pszPrintProcessor,
                    const char* pszDatatype)
{
    FakePrinter printer;
    printer.name = name;
    printer.dwAttributes = dwAttributes;
    printer.pszPrintProcessor = pszPrintProcessor;
    printer.pszDatatype = pszDatatype;
    return printer;
}

DWORD Level2Size(const FakePrinter& printer)
{
    return WriteLevel2(printer, nullptr);
}

FakeSpooler::FakeSpooler()
{
    g_pFake = this;
    g_reads.clear();
    g_open.clear();
    SetSpoolerApi(&kFakeApi);
}

void FakeSpooler::SetWin9x()
{
    dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    dwMajorVersion = 4;
    dwMinorVersion = 90;
}

FakeSpooler::~FakeSpooler()
{
    SetSpoolerApi(nullptr);
    g_pFake = nullptr;
}
