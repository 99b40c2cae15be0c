// ResetPrintProcessors: checks every installed printer's spooler
// configuration and resets the printers that are not in the form the print
// server needs. Shared by procfix (console output) and the monitor's CDoc
// (trace output).
#pragma once

#include "afx/winheaders.h"

#include <cstdarg>

// Where the messages go: a vprintf-like writer (vprintf itself for the console).
typedef int (*RESET_OUTPUT)(const char* pszFormat, va_list args);

// Writes one printf-style message through pfnOutput.
void WriteOutput(RESET_OUTPUT pfnOutput, const char* pszFormat, ...)
    __attribute__((format(gnu_printf, 2, 3)));

// Stores the platform kind (resetrules::kPlatform...) in *pbyPlatformKind,
// then walks the printers, counting in *pnResetCount each printer that needs
// a reset, whether or not the change succeeds. Returns 1 when the printers
// were walked, 0 on an unsupported platform or when the printers key cannot
// be opened.
int ResetPrintProcessors(int* pnResetCount, BYTE* pbyPlatformKind, RESET_OUTPUT pfnOutput);
