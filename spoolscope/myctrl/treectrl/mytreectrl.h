// CMyTreeCtrl: the monitor's server tree. The platform's tree control with
// item walks added; it answers the double-click, selection-change and
// item-expanded notifications itself (result 0), so a parent that must act on
// them does so in its OnNotify override before the default routing.
#pragma once

#include "afx/afx.h"

class CMyTreeCtrl : public CTreeCtrl {
public:
    CMyTreeCtrl() = default;
    ~CMyTreeCtrl() override = default;

    // Deletes every child of hItem (with its subtree); hItem stays.
    void DeleteChildren(HTREEITEM hItem);
    // The first item, in pre-order over hStart, its subtree and its later
    // siblings with theirs, whose label equals strLabel without regard to
    // case; null when none does. Earlier siblings and ancestors are not searched.
    HTREEITEM FindItemByText(HTREEITEM hStart, const CString& strLabel);
    // Sets hItem and all its descendants to bCheck.
    void SetCheckRecursive(HTREEITEM hItem, BOOL bCheck);
    // Checks hItem when any child evaluates nonzero, after evaluating every
    // child the same way; never clears a check. Nonzero when hItem ends checked.
    BOOL UpdateCheckFromChildren(HTREEITEM hItem);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

protected:
    void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
