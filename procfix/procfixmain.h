// The procfix program: the banner, the check and reset of every printer, and
// the closing lines, all written through pfnOutput (vprintf for the console).
#pragma once

#include "procfix/printprocessorreset.h"

// The platform kind of this run, set by ResetPrintProcessors.
extern BYTE g_byPlatformKind;

// Returns the program's exit code: 0.
int ProcfixMain(RESET_OUTPUT pfnOutput);
