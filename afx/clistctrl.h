// CListCtrl: the platform's list-view control (SysListView32), thin wrappers
// over its messages.
#pragma once

#include "afx/cwnd.h"

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)

public:
    int InsertItem(const LVITEMA* pItem)
    {
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    int InsertItem(int nItem, LPCSTR lpszItem);
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, nItem)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }

    // Inserts a column with LVCF_FMT | LVCF_TEXT, plus LVCF_WIDTH unless nWidth
    // is -1 and LVCF_SUBITEM unless nSubItem is -1.
    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    DWORD_PTR GetItemData(int nItem) const;

    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, nItem, nMask));
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const
    {
        return static_cast<BOOL>(SendMessage(LVM_GETITEMPOSITION, nItem, reinterpret_cast<LPARAM>(lpPoint)));
    }
    BOOL Scroll(SIZE size) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, size.cx, size.cy)); }

    // The row's state-image index minus one: 1 checked, 0 unchecked, -1 when
    // the row has no state image.
    BOOL GetCheck(int nItem) const;
    // Gives the row state image 2 (checked) or 1 (unchecked).
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE);
};
