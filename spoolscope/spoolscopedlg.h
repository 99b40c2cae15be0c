// CSpoolscopeDlg: the monitor's main dialog. It discovers the print servers
// (five one-second ticks after a broadcast), polls the first one every two
// seconds, shows servers and printers in the tree, the printers of the
// current server in the report list and one printer in the information box,
// and starts the companion programs.
#pragma once

#include "afx/afx.h"
#include "spoolscope/doc.h"
#include "spoolscope/myctrl/listctrl/mylistctrl.h"
#include "spoolscope/myctrl/treectrl/mytreectrl.h"
#include "spoolscope/serverentry.h"

class CSpoolscopeDlg : public CDialog {
public:
    static const UINT_PTR kDiscoveryTimer = 4096;  // every 1000 ms during a discovery
    static const UINT_PTR kPollTimer = 4097;       // every 2000 ms while polling
    static const int kDiscoveryTicks = 5;

    explicit CSpoolscopeDlg(CWnd* pParent = nullptr);
    ~CSpoolscopeDlg() override;

    // Where the minimised window draws its icon: the icon centred in the
    // client area, halves truncated toward zero.
    static CPoint IconOrigin(const RECT& client, int cxIcon, int cyIcon);

protected:
    HICON m_hIcon;
    CMyTreeCtrl m_tree;
    CMyListCtrl m_list;
    CEdit m_edit;
    CButton m_btnDiscovery;
    CButton m_btnOK;
    CButton m_btnCancel;
    CDoc m_doc;
    HTREEITEM m_hRoot;
    CArray<ServerEntry*> m_servers;
    ServerEntry* m_pCurServer;
    int m_nTick;
    // The item data of the tree's server and printer items belong to entries
    // or records that are gone: from the moment those are freed (a new
    // discovery, a poll tick taking new records) until the tree is rebuilt.
    BOOL m_bTreeStale;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // The frame.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // The discovery cycle and the server tree.
    void StartDiscovery();
    void OnTimer(UINT_PTR nIDEvent);
    void OnDiscoveryTick();
    void SetBusy(BOOL bBusy);
    void MergeServerList();
    ServerEntry* FindServer(LPCSTR pszAddress);
    BOOL AddServer(LPCSTR pszAddress);
    void StartPolling();
    void InitTree();
    void RebuildTree();
    HTREEITEM InsertServerItem(ServerEntry* pEntry);
    void InsertPrinterItems(HTREEITEM hParent, const CArray<PrinterRecord*>& records);
    void OnPollTick();
    void StorePrinterRecords();
    void ClearServers();
    void OnDestroy();

    // The printer list and the information box.
    void InitViews();
    void InitPrinterList();
    BOOL SelectServer(HTREEITEM hItem);
    void FillPrinterList();
    void AddPrinterRow(CMyListCtrl* pList, const PrinterRecord* pRecord);
    void ShowPrinterInfo(const PrinterRecord* pRecord);

    // The user's actions.
    void OnTreeDblClk();
    void OnTreeSelChanged();
    void OnReset();

    enum class ItemKind { Nothing, Root, Server, Printer };
    ItemKind KindOfSelection(HTREEITEM* phSelected);
    // Item data of the current build only: nullptr for anything else.
    const PrinterRecord* LiveRecord(HTREEITEM hItem);
    bool IsLiveServer(const ServerEntry* pEntry) const;
    // The monitor's own folder, with its trailing backslash.
    CString ProgramFolder();
    static void FreeRecords(CArray<PrinterRecord*>& records);

    DECLARE_MESSAGE_MAP()
};
