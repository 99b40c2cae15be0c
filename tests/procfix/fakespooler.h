// A stand-in spooler, registry and version query for ResetPrintProcessors:
// it records every call as text, answers as the test sets it up, can make any
// one call fail, and keeps what each printer's level-2 record looked like
// when read and when handed back to SetPrinterA. A call on a printer handle
// that is not open is recorded with "?" for the name and fails.
#pragma once

#include "procfix/spoolerapi.h"

#include <string>
#include <vector>

struct FakePrinter {
    std::string name;
    bool bUnterminatedName = false;    // RegEnumKeyA fills the buffer with the name and no zero byte
    LONG lEnumResult = ERROR_SUCCESS;  // other than 0: RegEnumKeyA fails at this index
    bool bOpenWithDefaults = true;     // the open with all access succeeds
    bool bOpenPlain = true;            // the open without defaults succeeds
    DWORD dwAttributes = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_RAW_ONLY;
    const char* pszPrintProcessor = "WinPrint";  // nullptr: none
    const char* pszDatatype = "NT EMF 1.008";    // nullptr: none
    bool bReportSize = true;                     // false: the size query reports dwReportedSize instead
    DWORD dwReportedSize = 0;
    bool bReadFails = false;        // the second GetPrinterA fails
    bool bReadIgnoresSize = false;  // the second GetPrinterA succeeds whatever the buffer size
    bool bSetFails = false;
};

// Attributes of a printer in the form the print server needs, and of one
// with bidirectional support on.
const DWORD kRight = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_RAW_ONLY;
const DWORD kBidi = kRight | PRINTER_ATTRIBUTE_ENABLE_BIDI;

FakePrinter Printer(const std::string& name, DWORD dwAttributes, const char* pszPrintProcessor = "WinPrint",
                    const char* pszDatatype = "NT EMF 1.008");

// What SetPrinterA was handed, taken during the call.
struct SetRecord {
    std::string printer;
    DWORD dwAttributes;
    std::string printProcessor;  // "(null)" for none
    std::string datatype;
    std::string othersWhenRead;      // every other field, deep, as the second read left it
    std::string othersWhenSet;       // the same, as handed to SetPrinterA
    bool bPrintProcessorBehindData;  // pPrintProcessor points at the 9 bytes behind the read data
    bool bWritten;                   // SetPrinterA succeeded
};

// The size of the printer's level-2 data as the stand-in lays it out.
DWORD Level2Size(const FakePrinter& printer);

struct FakeSpooler {
    std::vector<std::string> calls;
    BOOL bVersionResult = TRUE;
    DWORD dwPlatformId = VER_PLATFORM_WIN32_NT;
    DWORD dwMajorVersion = 5;
    DWORD dwMinorVersion = 1;
    LONG lOpenKeyResult = ERROR_SUCCESS;
    std::vector<FakePrinter> printers;
    std::vector<SetRecord> sets;
    // The number (1, 2, ...) of the one call that fails as if the platform
    // refused it; 0: none. A failed size query reports no size, failed
    // closes still count as closed.
    size_t nFailCall = 0;
    int nOpenHandles = 0;  // printers opened and not closed
    int nOpenKeys = 0;

    // Answers the version query as Windows ME does.
    void SetWin9x();

    // Installs this stand-in for the lifetime of the object.
    FakeSpooler();
    ~FakeSpooler();
};
