#include "spoolscope/myctrl/listctrl/mylistctrl.h"

BEGIN_MESSAGE_MAP(CMyListCtrl, CListCtrl)
END_MESSAGE_MAP()

void CMyListCtrl::InsertRow(const ListRow* pRow)
{
    if (pRow == nullptr || pRow->strTexts.GetSize() == 0)
        return;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = GetItemCount();
    item.iSubItem = 0;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(pRow->strTexts[0]));
    item.iImage = pRow->nImage;
    item.lParam = pRow->lParam;
    int nRow = InsertItem(&item);
    // Row -1 would address every row: a refused row gets nothing more.
    if (nRow < 0)
        return;
    INT_PTR nTexts = pRow->strTexts.GetSize();
    for (INT_PTR i = 1; i < nTexts; ++i)
        SetItemText(nRow, static_cast<int>(i), pRow->strTexts[i]);
    SetCheck(nRow, pRow->bCheck);
}

int CMyListCtrl::GetFirstSelectedRow()
{
    if (GetSelectedCount() == 0)
        return -1;
    int nCount = GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED)
            return i;
    }
    return -1;
}

int CMyListCtrl::SelectRow(int nRow)
{
    int nCount = GetItemCount();
    // A negative index would address every row.
    if (nCount == 0 || nRow < 0 || nRow >= nCount)
        return -1;
    SetItemState(nRow, LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED | LVIS_CUT | LVIS_ACTIVATING);
    POINT pt = {};
    if (!GetItemPosition(nRow, &pt))
        return 0;
    SIZE scroll = {pt.x, pt.y - 12};
    Scroll(scroll);
    return 1;
}

int CMyListCtrl::GetCheckedRows(CArray<int>* pRows)
{
    int nCount = GetItemCount();
    int nChecked = 0;
    for (int i = 0; i < nCount; ++i) {
        if (GetCheck(i)) {
            ++nChecked;
            if (pRows != nullptr)
                pRows->Add(i);
        }
    }
    return nChecked;
}
