#include "afx/ctreectrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    // Grow the buffer until the text no longer fills it.
    for (int nLength = 256;; nLength *= 2) {
        std::string buffer(nLength, '\0');
        TVITEMA item = {};
        item.mask = TVIF_HANDLE | TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = &buffer[0];
        item.cchTextMax = nLength;
        if (!GetItem(&item))
            return CString();
        int nRead = static_cast<int>(strnlen(item.pszText, nLength));
        if (nRead < nLength - 1 || nLength >= 65536)
            return CString(item.pszText, nRead);
    }
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = hItem;
    if (!GetItem(&item))
        return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = hItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = TVIS_STATEIMAGEMASK;
    GetItem(&item);
    return static_cast<BOOL>(item.state >> 12) - 1;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1);
    return SetItem(&item);
}
