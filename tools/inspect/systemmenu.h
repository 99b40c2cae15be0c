// Reading another process's system menu.
#pragma once

#include "agent.h"

#include <string>
#include <vector>

// Reads the system menu of hWnd, a window of hProcess. Every wait ends after
// timeoutMs.
bool ReadSystemMenu(HANDLE hProcess, HWND hWnd, DWORD timeoutMs, std::vector<SystemMenuBlock::Item>* pItems,
                    std::string* pError);
