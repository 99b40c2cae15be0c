// Running a routine of ssinspect_agent.dll in the monitor's process.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Loads the library beside this program into hProcess, runs its thread
// routine pszRoutine on a copy of the block placed in the monitor's memory,
// copies the block back, and unloads the library. *pResult is the routine's
// exit code. Every wait ends after timeoutMs.
bool RunAgentRoutine(HANDLE hProcess, const char* pszRoutine, void* pBlock, size_t cbBlock, DWORD timeoutMs,
                     DWORD* pResult, std::string* pError);
