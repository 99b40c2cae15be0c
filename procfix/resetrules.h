// Which printers procfix changes and how: the decision on the fields of a
// printer's level-2 configuration that matter. Platform-free.
#pragma once

#include <cstdint>

namespace resetrules {

// Platform kinds, from the version query.
constexpr uint8_t kPlatformUnsupported = 0;
constexpr uint8_t kPlatformWin9x = 1;  // Windows 95/98/ME
constexpr uint8_t kPlatformNT5 = 3;    // Windows 2000/XP

// Version query values (VER_PLATFORM_WIN32_WINDOWS, VER_PLATFORM_WIN32_NT).
constexpr uint32_t kVersionPlatformWindows = 1;
constexpr uint32_t kVersionPlatformNT = 2;

// Printer attribute bits (PRINTER_ATTRIBUTE_ENABLE_BIDI, PRINTER_ATTRIBUTE_RAW_ONLY).
constexpr uint32_t kAttributeEnableBidi = 0x800;
constexpr uint32_t kAttributeRawOnly = 0x1000;

// The print processor the print server needs.
constexpr char kWinPrint[] = "WinPrint";

// 95/98/ME for platform 1 whatever the version; 2000/XP for platform 2 with
// major version 5; unsupported otherwise.
uint8_t PlatformKindOf(uint32_t dwPlatformId, uint32_t dwMajorVersion);

// What becomes of one printer.
struct PrinterReset {
    bool bNeeded;
    uint32_t dwAttributes;  // the attributes afterwards (unchanged when no reset is needed)
    bool bSetWinPrint;      // the print processor becomes "WinPrint"
    bool bSetRawDatatype;   // the data type becomes "RAW"
};

// The reset of a printer with these attributes and print processor (nullptr:
// none). 2000/XP: needed unless raw-only is set, bidi clear and the print
// processor exactly "WinPrint"; then raw-only set, bidi clear, and a print
// processor that differs becomes "WinPrint" with data type "RAW". 95/98/ME:
// needed only when bidi is set; then bidi clear and data type "RAW". Other
// attribute bits never change; an unsupported kind changes nothing.
PrinterReset PlanPrinterReset(uint8_t byKind, uint32_t dwAttributes, const char* pszPrintProcessor);

}  // namespace resetrules
