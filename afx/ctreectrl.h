// CTreeCtrl: the platform's tree-view control (SysTreeView32), thin wrappers
// over its messages.
#pragma once

#include "afx/cwnd.h"

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)

public:
    HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsertStruct)
    {
        return reinterpret_cast<HTREEITEM>(
            SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
    }
    HTREEITEM InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                         UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
    }
    BOOL DeleteItem(HTREEITEM hItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(
            SendMessage(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    BOOL ItemHasChildren(HTREEITEM hItem) const { return GetChildItem(hItem) != nullptr; }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }

    BOOL SelectItem(HTREEITEM hItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)));
    }
    BOOL Expand(HTREEITEM hItem, UINT nCode)
    {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, reinterpret_cast<LPARAM>(hItem)));
    }

    BOOL GetItem(TVITEMA* pItem) const
    {
        return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(TVITEMA* pItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    CString GetItemText(HTREEITEM hItem) const;
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const
    {
        return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), nStateMask));
    }
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;

    // The item's state-image index minus one: 1 checked, 0 unchecked, -1
    // when the item has no state image.
    BOOL GetCheck(HTREEITEM hItem) const;
    // Gives the item state image 2 (checked) or 1 (unchecked).
    BOOL SetCheck(HTREEITEM hItem, BOOL fCheck = TRUE);
};
