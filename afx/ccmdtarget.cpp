#include "afx/ccmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchMsg(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam,
                             LRESULT* pResult)
{
    LRESULT lUnused = 0;
    if (pResult == nullptr)
        pResult = &lUnused;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn != nullptr; ++pEntry) {
            if (pEntry->nMessage == nMessage && pEntry->nCode == nCode && pEntry->nID == nID)
                return pEntry->pfn(this, wParam, lParam, pResult);
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
    return DispatchMsg(WM_COMMAND, nCode, nID, 0, 0, nullptr);
}
