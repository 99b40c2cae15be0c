// The spooler, registry and version functions ResetPrintProcessors calls, as
// a table of function pointers: the real ones, or a test's stand-ins.
#pragma once

#include "afx/winheaders.h"

#include <winspool.h>

struct SpoolerApi {
    decltype(&::GetVersionExA) GetVersionExA;
    decltype(&::RegOpenKeyExA) RegOpenKeyExA;
    decltype(&::RegEnumKeyA) RegEnumKeyA;
    decltype(&::RegCloseKey) RegCloseKey;
    decltype(&::OpenPrinterA) OpenPrinterA;
    decltype(&::GetPrinterA) GetPrinterA;
    decltype(&::SetPrinterA) SetPrinterA;
    decltype(&::ClosePrinter) ClosePrinter;
};

// The table in use.
const SpoolerApi& Spooler();
// Replaces the table (nullptr: the real functions); returns the previous one.
const SpoolerApi* SetSpoolerApi(const SpoolerApi* pApi);
const SpoolerApi& RealSpooler();
