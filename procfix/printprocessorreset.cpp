#include "procfix/printprocessorreset.h"

#include "procfix/resetrules.h"
#include "procfix/spoolerapi.h"

#include <cstdlib>
#include <cstring>

using namespace resetrules;

static_assert(sizeof(OSVERSIONINFOA) == 148, "");
static_assert(kAttributeEnableBidi == PRINTER_ATTRIBUTE_ENABLE_BIDI, "");
static_assert(kAttributeRawOnly == PRINTER_ATTRIBUTE_RAW_ONLY, "");
static_assert(kVersionPlatformWindows == VER_PLATFORM_WIN32_WINDOWS, "");
static_assert(kVersionPlatformNT == VER_PLATFORM_WIN32_NT, "");

static const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
static const DWORD kNameSize = 260;

void WriteOutput(RESET_OUTPUT pfnOutput, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    pfnOutput(pszFormat, args);
    va_end(args);
}

// The level-2 buffer: the needed size, then room for the own copy of
// "WinPrint". nullptr when the needed size cannot hold a PRINTER_INFO_2 (the
// record would be read past its end) or the sum overflows.
static BYTE* AllocLevel2Buffer(DWORD dwNeeded)
{
    if (dwNeeded < sizeof(PRINTER_INFO_2A) || dwNeeded > MAXDWORD - sizeof(kWinPrint))
        return nullptr;
    return static_cast<BYTE*>(malloc(dwNeeded + sizeof(kWinPrint)));
}

// Checks one printer and resets it when needed; the handle is open from the
// first open attempt that succeeds to the end.
static void ResetPrinter(const SpoolerApi& api, LPSTR pszName, BYTE byKind, int* pnResetCount,
                         RESET_OUTPUT pfnOutput)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE hPrinter = nullptr;
    if (!api.OpenPrinterA(pszName, &hPrinter, &defaults) && !api.OpenPrinterA(pszName, &hPrinter, nullptr)) {
        WriteOutput(pfnOutput, "Open %s error...\n", pszName);
        return;
    }

    DWORD dwNeeded = 0;
    api.GetPrinterA(hPrinter, 2, nullptr, 0, &dwNeeded);
    if (dwNeeded == 0) {
        api.ClosePrinter(hPrinter);
        WriteOutput(pfnOutput, "Access %s is denied !\n", pszName);
        return;
    }

    // The second read reports its size apart: the copy of "WinPrint" goes
    // right behind the needed size that was allocated.
    BYTE* pBuffer = AllocLevel2Buffer(dwNeeded);
    DWORD dwRead = 0;
    if (pBuffer == nullptr || !api.GetPrinterA(hPrinter, 2, pBuffer, dwNeeded, &dwRead)) {
        api.ClosePrinter(hPrinter);
        free(pBuffer);
        return;
    }

    PRINTER_INFO_2A* pInfo = reinterpret_cast<PRINTER_INFO_2A*>(pBuffer);
    const PrinterReset reset = PlanPrinterReset(byKind, pInfo->Attributes, pInfo->pPrintProcessor);
    if (reset.bNeeded) {
        char szRaw[] = "RAW";  // pointed at by the record until SetPrinterA returns
        WriteOutput(pfnOutput, "%s Configure data need reset ...\n", pszName);
        ++*pnResetCount;
        pInfo->Attributes = reset.dwAttributes;
        if (reset.bSetWinPrint) {
            char* pszWinPrint = reinterpret_cast<char*>(pBuffer + dwNeeded);
            memcpy(pszWinPrint, kWinPrint, sizeof(kWinPrint));
            pInfo->pPrintProcessor = pszWinPrint;
        }
        if (reset.bSetRawDatatype)
            pInfo->pDatatype = szRaw;
        if (api.SetPrinterA(hPrinter, 2, pBuffer, 0))
            WriteOutput(pfnOutput, "Reset %s OK !!!\n\n", pszName);
        else if (byKind == kPlatformNT5)
            WriteOutput(pfnOutput, "Reset %s error ,access denied !!!\n", pszName);
        else
            WriteOutput(pfnOutput, "Reset %s error !!!\n", pszName);
    }
    api.ClosePrinter(hPrinter);
    free(pBuffer);
}

int ResetPrintProcessors(int* pnResetCount, BYTE* pbyPlatformKind, RESET_OUTPUT pfnOutput)
{
    const SpoolerApi& api = Spooler();

    OSVERSIONINFOA version;
    memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    api.GetVersionExA(&version);
    *pbyPlatformKind = PlatformKindOf(version.dwPlatformId, version.dwMajorVersion);
    if (*pbyPlatformKind == kPlatformUnsupported) {
        WriteOutput(pfnOutput, "Only support Win98/ME/2000/XP !\n");
        return 0;
    }

    HKEY hKey = nullptr;
    if (api.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    // One byte more than the enumeration may fill: a name that fills all
    // kNameSize bytes without a zero byte still ends inside the buffer.
    char szName[kNameSize + 1];
    for (DWORD dwIndex = 0;; ++dwIndex) {
        memset(szName, 0, sizeof(szName));
        if (api.RegEnumKeyA(hKey, dwIndex, szName, kNameSize) != ERROR_SUCCESS)
            break;
        ResetPrinter(api, szName, *pbyPlatformKind, pnResetCount, pfnOutput);
    }
    api.RegCloseKey(hKey);
    return 1;
}
