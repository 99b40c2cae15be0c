// A stand-in spooler, registry and version query for ResetPrintProcessors:
// it records every call as text, answers as the test sets it up, and keeps
// what each printer's level-2 record looked like when read and when handed
// back to SetPrinterA.
#pragma once

#include "procfix/spoolerapi.h"

#include <string>
#include <vector>

struct FakePrinter {
    std::string name;
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

// What SetPrinterA was handed, taken during the call.
struct SetRecord {
    std::string printer;
    DWORD dwAttributes;
    std::string printProcessor;  // "(null)" for none
    std::string datatype;
    std::string othersWhenRead;      // every other field, deep, as the second read left it
    std::string othersWhenSet;       // the same, as handed to SetPrinterA
    bool bPrintProcessorBehindData;  // pPrintProcessor points at the 9 bytes behind the read data
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
    int nOpenHandles = 0;  // printers opened and not closed
    int nOpenKeys = 0;

    // Installs this stand-in for the lifetime of the object.
    FakeSpooler();
    ~FakeSpooler();
};
