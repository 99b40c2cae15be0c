// Reading another process's system menu. Wine's menu functions refuse the
// menus of other processes, so a small library of ours (ssinspect_menu.dll)
// is loaded into the monitor's process and reads the menu there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The exchange block, in the monitor's memory: the window in, the items out.
struct SystemMenuBlock {
    static const int kMaxItems = 32;
    struct Item {
        UINT nID;
        UINT nType;   // MFT_*
        UINT nState;  // MFS_*
        char szText[96];
    };
    HWND hWnd;
    LONG nCount;
    Item items[kMaxItems];
};

// The library's thread routine: fills the block it is given; 1 on success.
#define SYSTEM_MENU_READER "ReadSystemMenuThread"
#define SYSTEM_MENU_LIBRARY "ssinspect_menu.dll"

// Reads the system menu of hWnd, a window of hProcess, through the library
// beside this program. Every wait ends after timeoutMs.
bool ReadSystemMenu(HANDLE hProcess, HWND hWnd, DWORD timeoutMs, std::vector<SystemMenuBlock::Item>* pItems,
                    std::string* pError);
