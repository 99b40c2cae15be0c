// ssinspect_agent.dll: a small library of ours that ssinspect loads into the
// monitor's process, for what cannot be done from outside. Each routine is a
// thread routine that takes a block in the monitor's memory and returns 1 on
// success.
#pragma once

#include <windows.h>

#define INSPECT_AGENT_LIBRARY "ssinspect_agent.dll"

// Wine's menu functions refuse the menus of other processes: the system menu
// is read in the monitor's process. The window in, the items out.
#define INSPECT_READ_SYSTEM_MENU "ReadSystemMenuThread"
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

// Finds, selects and double-clicks a tree item on the tree's own thread, in
// one go: the monitor's timers rebuild the tree, and a rebuild between the
// selection and the double-click would make the monitor act on another item.
#define INSPECT_DOUBLE_CLICK "DoubleClickTreeItemThread"
struct DoubleClickBlock {
    enum Result : LONG {
        kFailed = 0,    // the tree's thread did not run the request
        kDone = 1,      // double-clicked, with the item selected throughout
        kNoItem = 2,    // no item at the path
        kNotShown = 3,  // the item's label is scrolled away or inside a collapsed item
        kMoved = 4,     // the selection moved during the double-click
        kDisabled = 5,  // the tree is disabled, as while the monitor discovers
    };
    HWND hTree;
    LONG nResult;
    char szPath[512];  // labels from the top, joined by '/'
};
