// CMyListCtrl: the monitor's printer list. The platform's list-view control
// with row operations added; its message map adds nothing.
#pragma once

#include "afx/afx.h"
#include "spoolscope/myctrl/listctrl/listrow.h"

class CMyListCtrl : public CListCtrl {
public:
    CMyListCtrl() = default;
    ~CMyListCtrl() override = default;

    // Appends a row described by pRow: image, item data, column texts and a
    // check state image. Nothing for a null pointer or a row without texts,
    // or when the control refuses the row.
    void InsertRow(const ListRow* pRow);
    // The lowest selected row, or -1.
    int GetFirstSelectedRow();
    // Selects row nRow (dropping focus, cut and activating marks) and scrolls
    // to it: 1 scrolled, 0 selected without a position to scroll to, -1 no
    // such row (negative, or at or beyond the end).
    int SelectRow(int nRow);
    // Counts the checked rows (a row without a state image counts as
    // checked) and appends their indexes to pRows, when given.
    int GetCheckedRows(CArray<int>* pRows);

protected:
    DECLARE_MESSAGE_MAP()
};
