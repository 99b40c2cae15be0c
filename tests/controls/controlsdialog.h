// A modeless dialog holding the controls under test, bound by data exchange
// as in the monitor. The tree and the first list record some of the
// messages they are sent, and can be told to refuse some.
#pragma once

#include "resource.h"
#include "spoolscope/myctrl/listctrl/mylistctrl.h"
#include "spoolscope/myctrl/treectrl/mytreectrl.h"

#include <string>
#include <vector>

class CRecordingTree : public CMyTreeCtrl {
public:
    int m_nItemReads = 0;

protected:
    LRESULT OnGetItem(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

class CRecordingList : public CMyListCtrl {
public:
    bool m_bRefuseInsert = false;
    bool m_bNoPosition = false;
    std::vector<std::string> m_scrolls;  // "dx,dy" of each LVM_SCROLL
    POINT m_lastPosition = {};           // the answer to the last LVM_GETITEMPOSITION

protected:
    LRESULT OnInsertItem(WPARAM, LPARAM);
    LRESULT OnGetItemPosition(WPARAM, LPARAM);
    LRESULT OnScroll(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

class CControlsDialog : public CDialog {
public:
    CControlsDialog() : CDialog(IDD_CONTROLS) {}

    CRecordingTree m_tree;
    CRecordingList m_list;
    CMyListCtrl m_multiList;
    std::vector<std::string> m_log;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnMapDblClk(NMHDR*, LRESULT*);
    void OnMapSelChanged(NMHDR*, LRESULT*);
    DECLARE_MESSAGE_MAP()
};
