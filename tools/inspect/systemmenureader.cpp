// Runs in the monitor's process, where its system menu can be read.
#include "agent.h"

extern "C" __declspec(dllexport) DWORD WINAPI ReadSystemMenuThread(LPVOID pParam)
{
    SystemMenuBlock* pBlock = static_cast<SystemMenuBlock*>(pParam);
    HMENU hMenu = ::GetSystemMenu(pBlock->hWnd, FALSE);
    if (hMenu == nullptr)
        return 0;
    int nCount = ::GetMenuItemCount(hMenu);
    if (nCount < 0)
        return 0;
    if (nCount > SystemMenuBlock::kMaxItems)
        nCount = SystemMenuBlock::kMaxItems;
    for (int i = 0; i < nCount; ++i) {
        SystemMenuBlock::Item& item = pBlock->items[i];
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        mii.dwTypeData = item.szText;
        mii.cch = sizeof(item.szText);
        item.szText[0] = '\0';
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &mii))
            return 0;
        item.nID = mii.wID;
        item.nType = mii.fType;
        item.nState = mii.fState;
    }
    pBlock->nCount = nCount;
    return 1;
}
