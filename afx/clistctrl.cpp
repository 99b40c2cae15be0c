#include "afx/clistctrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&item);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, nCol, reinterpret_cast<LPARAM>(&column)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    for (int nLength = 256;; nLength *= 2) {
        std::string buffer(nLength, '\0');
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = &buffer[0];
        item.cchTextMax = nLength;
        int nRead = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item)));
        if (nRead < nLength - 1 || nLength >= 65536)
            return CString(item.pszText, nRead);
    }
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::GetCheck(int nItem) const
{
    UINT nState = GetItemState(nItem, LVIS_STATEIMAGEMASK);
    return static_cast<BOOL>(nState >> 12) - 1;
}

BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck)
{
    return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
}
