#include "controlsdialog.h"

BEGIN_MESSAGE_MAP(CRecordingTree, CMyTreeCtrl)
    ON_MESSAGE(TVM_GETITEMA, OnGetItem)
END_MESSAGE_MAP()

LRESULT CRecordingTree::OnGetItem(WPARAM, LPARAM)
{
    ++m_nItemReads;
    return Default();
}

BEGIN_MESSAGE_MAP(CRecordingList, CMyListCtrl)
    ON_MESSAGE(LVM_INSERTITEMA, OnInsertItem)
    ON_MESSAGE(LVM_GETITEMPOSITION, OnGetItemPosition)
    ON_MESSAGE(LVM_SCROLL, OnScroll)
END_MESSAGE_MAP()

LRESULT CRecordingList::OnInsertItem(WPARAM, LPARAM)
{
    return m_bRefuseInsert ? -1 : Default();
}

LRESULT CRecordingList::OnGetItemPosition(WPARAM, LPARAM lParam)
{
    if (m_bNoPosition)
        return FALSE;
    LRESULT lResult = Default();
    m_lastPosition = *reinterpret_cast<POINT*>(lParam);
    return lResult;
}

LRESULT CRecordingList::OnScroll(WPARAM wParam, LPARAM lParam)
{
    m_scrolls.push_back(std::to_string(static_cast<int>(wParam)) + "," +
                        std::to_string(static_cast<int>(lParam)));
    return Default();
}

BEGIN_MESSAGE_MAP(CControlsDialog, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_TREE, OnMapDblClk)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnMapSelChanged)
END_MESSAGE_MAP()

void CControlsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TREE, m_tree);
    DDX_Control(pDX, IDC_LIST, m_list);
    DDX_Control(pDX, IDC_MULTILIST, m_multiList);
}

BOOL CControlsDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    bool bWatched = wParam == IDC_TREE && (pNMHDR->code == static_cast<UINT>(NM_DBLCLK) ||
                                           pNMHDR->code == static_cast<UINT>(TVN_SELCHANGED));
    if (!bWatched)
        return CDialog::OnNotify(wParam, lParam, pResult);
    std::string name = pNMHDR->code == static_cast<UINT>(NM_DBLCLK) ? "NM_DBLCLK" : "TVN_SELCHANGED";
    m_log.push_back("OnNotify " + name);
    *pResult = 99;  // the tree's handler must replace it
    BOOL bHandled = CDialog::OnNotify(wParam, lParam, pResult);
    m_log.push_back("routed " + name + ": handled " + std::to_string(bHandled) + ", result " +
                    std::to_string(*pResult));
    return bHandled;
}

void CControlsDialog::OnMapDblClk(NMHDR*, LRESULT*)
{
    m_log.push_back("dialog map NM_DBLCLK");
}

void CControlsDialog::OnMapSelChanged(NMHDR*, LRESULT*)
{
    m_log.push_back("dialog map TVN_SELCHANGED");
}
