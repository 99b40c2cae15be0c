#include "spoolscope/myctrl/treectrl/mytreectrl.h"

BEGIN_MESSAGE_MAP(CMyTreeCtrl, CTreeCtrl)
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_WM_LBUTTONDBLCLK()
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
    ON_WM_NCLBUTTONDBLCLK()
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDED, OnItemExpanded)
END_MESSAGE_MAP()

void CMyTreeCtrl::DeleteChildren(HTREEITEM hItem)
{
    // Re-read the first child after each deletion: no handle of a deleted
    // item is ever used.
    for (HTREEITEM hChild = GetChildItem(hItem); hChild != nullptr; hChild = GetChildItem(hItem)) {
        if (!DeleteItem(hChild))
            break;
    }
}

HTREEITEM CMyTreeCtrl::FindItemByText(HTREEITEM hStart, const CString& strLabel)
{
    for (HTREEITEM hItem = hStart; hItem != nullptr; hItem = GetNextItem(hItem, TVGN_NEXT)) {
        if (GetItemText(hItem).CompareNoCase(strLabel) == 0)
            return hItem;
        HTREEITEM hChild = GetNextItem(hItem, TVGN_CHILD);
        if (hChild != nullptr) {
            HTREEITEM hFound = FindItemByText(hChild, strLabel);
            if (hFound != nullptr)
                return hFound;
        }
    }
    return nullptr;
}

void CMyTreeCtrl::SetCheckRecursive(HTREEITEM hItem, BOOL bCheck)
{
    if (hItem == nullptr)
        return;
    SetCheck(hItem, bCheck);
    for (HTREEITEM hChild = GetNextItem(hItem, TVGN_CHILD); hChild != nullptr;
         hChild = GetNextItem(hChild, TVGN_NEXT))
        SetCheckRecursive(hChild, bCheck);
}

BOOL CMyTreeCtrl::UpdateCheckFromChildren(HTREEITEM hItem)
{
    TRACE("\nLabel = %s", static_cast<LPCSTR>(GetItemText(hItem)));
    if (hItem == nullptr)
        return FALSE;
    HTREEITEM hChild = GetNextItem(hItem, TVGN_CHILD);
    if (UpdateCheckFromChildren(hChild))
        SetCheck(hItem, TRUE);
    BOOL bResult = GetCheck(hItem);
    while (hChild != nullptr && (hChild = GetNextItem(hChild, TVGN_NEXT)) != nullptr) {
        if (UpdateCheckFromChildren(hChild))
            SetCheck(hItem, TRUE);
        bResult |= GetCheck(hItem);
    }
    return bResult;
}

INT_PTR CMyTreeCtrl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    return CWnd::OnToolHitTest(point, pTI);
}

void CMyTreeCtrl::OnDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CMyTreeCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CTreeCtrl::OnLButtonDblClk(nFlags, point);
}

void CMyTreeCtrl::OnSelChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CMyTreeCtrl::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    CTreeCtrl::OnNcLButtonDblClk(nHitTest, point);
}

void CMyTreeCtrl::OnItemExpanded(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}
