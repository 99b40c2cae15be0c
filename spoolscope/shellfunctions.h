// The shell functions the monitor calls to start other programs, as a table
// of function pointers: the real ones, or a test's stand-ins.
#pragma once

#include "afx/winheaders.h"

#include <shellapi.h>

struct ShellFunctions {
    decltype(&::ShellExecuteA) ShellExecuteA;
    decltype(&::GetModuleFileNameA) GetModuleFileNameA;
};

// The table in use.
const ShellFunctions& Shell();
// Replaces the table (nullptr: the real functions); returns the previous one.
const ShellFunctions* SetShellFunctions(const ShellFunctions* pFunctions);
