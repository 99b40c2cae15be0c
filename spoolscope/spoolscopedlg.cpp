#include "spoolscope/spoolscopedlg.h"

#include "spoolscope/aboutdlg.h"
#include "spoolscope/net/datagram.h"
#include "spoolscope/res/resource.h"
#include "spoolscope/shellfunctions.h"
#include "spoolscope/statuswords.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

BEGIN_MESSAGE_MAP(CSpoolscopeDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BTN_DISCOVERY, StartDiscovery)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_BTN_RESET, OnReset)
END_MESSAGE_MAP()

static const char kRootText[] = "ZQ5518LB";
static const char kInfoFormat[] = "Printer Name:\t\t%s \t\t\t\t   \r\n"
                                  "User IP:\t\t\t%d.%d.%d.%d \t\t\t\t   \r\n"
                                  "Printer Type:\t\t%s \t\t\t\t   \r\n"
                                  "Printer State:\t\t%s \t\t\t\t   \r\n"
                                  "Job Number:\t\t%d";

CSpoolscopeDlg::CSpoolscopeDlg(CWnd* pParent)
    : CDialog(IDD_SPOOLSCOPE_DIALOG, pParent), m_hRoot(nullptr), m_pCurServer(nullptr), m_nTick(0),
      m_bTreeStale(FALSE)
{
    CWinApp* pApp = AfxGetApp();
    m_hIcon = pApp != nullptr ? pApp->LoadIcon(IDR_MAINFRAME)
                              : ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CSpoolscopeDlg::~CSpoolscopeDlg()
{
    // A dialog object destroyed without its window having been destroyed
    // still owns its entries.
    ClearServers();
}

void CSpoolscopeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TREE_SERVERS, m_tree);
    DDX_Control(pDX, IDC_LIST_PRINTERS, m_list);
    DDX_Control(pDX, IDC_EDIT_INFO, m_edit);
    DDX_Control(pDX, IDC_BTN_DISCOVERY, m_btnDiscovery);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
}

BOOL CSpoolscopeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    InitViews();
    StartDiscovery();
    return TRUE;
}

// ---- The frame ----

void CSpoolscopeDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

CPoint CSpoolscopeDlg::IconOrigin(const RECT& client, int cxIcon, int cyIcon)
{
    int nWidth = client.right - client.left;
    int nHeight = client.bottom - client.top;
    return CPoint((nWidth - cxIcon + 1) / 2, (nHeight - cyIcon + 1) / 2);
}

void CSpoolscopeDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    CPoint origin = IconOrigin(rect, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

HCURSOR CSpoolscopeDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

// ---- The discovery cycle and the server tree ----

void CSpoolscopeDlg::StartDiscovery()
{
    KillTimer(kPollTimer);
    ClearServers();
    m_btnDiscovery.EnableWindow(FALSE);
    ::SetClassLongPtrA(
        m_hWnd, GCLP_HCURSOR,
        reinterpret_cast<LONG_PTR>(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))));
    m_nTick = 0;
    m_doc.Discover();
    SetTimer(kDiscoveryTimer, 1000);
}

void CSpoolscopeDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kDiscoveryTimer)
        OnDiscoveryTick();
    else if (nIDEvent == kPollTimer)
        OnPollTick();
    CDialog::OnTimer(nIDEvent);
}

void CSpoolscopeDlg::OnDiscoveryTick()
{
    // A tick already queued when the timer was killed: no discovery runs.
    if (m_nTick >= kDiscoveryTicks)
        return;
    ++m_nTick;
    BOOL bBusy = m_nTick != kDiscoveryTicks;
    SetBusy(bBusy);
    if (m_nTick == kDiscoveryTicks) {
        KillTimer(kDiscoveryTimer);
        MergeServerList();
        RebuildTree();
        if (m_servers.GetSize() > 0)
            StartPolling();
    }
}

void CSpoolscopeDlg::SetBusy(BOOL bBusy)
{
    LPCSTR pszCursor = reinterpret_cast<LPCSTR>(bBusy ? IDC_WAIT : IDC_ARROW);
    ::SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorA(nullptr, pszCursor)));
    CWnd* controls[] = {&m_tree, &m_list, &m_edit, &m_btnDiscovery, &m_btnOK, &m_btnCancel};
    for (CWnd* pControl : controls) {
        ::SetClassLongPtrA(pControl->m_hWnd, GCLP_HCURSOR,
                           reinterpret_cast<LONG_PTR>(::LoadCursorA(nullptr, pszCursor)));
        pControl->EnableWindow(!bBusy);
    }
    POINT pt;
    if (::GetCursorPos(&pt))
        ::SetCursorPos(pt.x, pt.y);
}

void CSpoolscopeDlg::MergeServerList()
{
    CStringArray* pAddresses = m_doc.GetServerAddresses();
    for (INT_PTR i = 0; i < pAddresses->GetSize(); ++i) {
        if (FindServer(pAddresses->GetAt(i)) == nullptr)
            AddServer(pAddresses->GetAt(i));
    }
}

ServerEntry* CSpoolscopeDlg::FindServer(LPCSTR pszAddress)
{
    for (INT_PTR i = 0; i < m_servers.GetSize(); ++i) {
        if (m_servers[i]->address.CompareNoCase(pszAddress) == 0)
            return m_servers[i];
    }
    return nullptr;
}

BOOL CSpoolscopeDlg::AddServer(LPCSTR pszAddress)
{
    ServerEntry* pEntry = new (std::nothrow) ServerEntry;
    if (pEntry == nullptr)
        return FALSE;
    pEntry->address = pszAddress;
    m_servers.Add(pEntry);
    return TRUE;
}

void CSpoolscopeDlg::StartPolling()
{
    m_doc.QueryServer(m_servers[0]->address);
    SetTimer(kPollTimer, 2000);
}

void CSpoolscopeDlg::InitTree()
{
    m_hRoot = m_tree.InsertItem(TVIF_TEXT, kRootText, 0, 0, 0, 0, 0, TVI_ROOT, TVI_LAST);
}

void CSpoolscopeDlg::RebuildTree()
{
    // Deleting items makes the tree report selection changes for items of
    // the old build: the handlers must not follow their data meanwhile.
    m_bTreeStale = TRUE;
    m_tree.DeleteChildren(m_hRoot);
    // Sorted insertion walks the siblings from the first one; inserting the
    // servers from the last in order to the first lets each walk stop at
    // once. The order the tree ends in is the same.
    std::vector<ServerEntry*> order(m_servers.GetData(), m_servers.GetData() + m_servers.GetSize());
    std::sort(order.begin(), order.end(), [](const ServerEntry* pA, const ServerEntry* pB) {
        return lstrcmpiA(pA->address, pB->address) > 0;
    });
    for (ServerEntry* pEntry : order) {
        HTREEITEM hServer = InsertServerItem(pEntry);
        InsertPrinterItems(hServer, pEntry->records);
    }
    m_bTreeStale = FALSE;
}

HTREEITEM CSpoolscopeDlg::InsertServerItem(ServerEntry* pEntry)
{
    return m_tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pEntry->address, 0, 0,
                             0, 0, reinterpret_cast<LPARAM>(pEntry), m_hRoot, TVI_SORT);
}

void CSpoolscopeDlg::InsertPrinterItems(HTREEITEM hParent, const CArray<PrinterRecord*>& records)
{
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        std::string name = datagram::RecordName(*records[i]);
        m_tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, name.c_str(), 0, 0, 0, 0,
                          reinterpret_cast<LPARAM>(records[i]), hParent, TVI_SORT);
    }
}

void CSpoolscopeDlg::OnPollTick()
{
    // A tick already queued when a new discovery began: nothing to poll.
    if (m_servers.GetSize() == 0)
        return;
    StorePrinterRecords();
    RebuildTree();
    m_tree.Expand(m_tree.GetChildItem(m_hRoot), TVE_EXPAND);
    m_doc.QueryServer(m_servers[0]->address);
}

void CSpoolscopeDlg::StorePrinterRecords()
{
    CArray<PrinterRecord*>* pReceived = m_doc.GetPrinterRecords();
    ServerEntry* pPolled = m_servers[0];
    m_bTreeStale = TRUE;  // the tree's printer items may hold the records freed here
    FreeRecords(pPolled->records);
    for (INT_PTR i = 0; i < pReceived->GetSize(); ++i)
        pPolled->records.Add(pReceived->GetAt(i));
    pReceived->RemoveAll();
}

// Debug builds fill what they free, so that a use after free shows.
template <class T> static void Free(T* p)
{
    if (p == nullptr)
        return;
#ifdef _DEBUG
    p->~T();
    memset(static_cast<void*>(p), 0xDD, sizeof(T));
    ::operator delete(p);
#else
    delete p;
#endif
}

void CSpoolscopeDlg::FreeRecords(CArray<PrinterRecord*>& records)
{
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        Free(records[i]);
    records.RemoveAll();
}

void CSpoolscopeDlg::ClearServers()
{
    INT_PTR nCount = m_servers.GetSize();
    for (INT_PTR i = 0; i < nCount; ++i) {
        FreeRecords(m_servers[i]->records);
        Free(m_servers[i]);
    }
    m_servers.RemoveAll();
    m_pCurServer = nullptr;
    m_bTreeStale = TRUE;
}

void CSpoolscopeDlg::OnDestroy()
{
    CDialog::OnDestroy();
    ClearServers();
}

// ---- The printer list and the information box ----

void CSpoolscopeDlg::InitViews()
{
    InitTree();
    InitPrinterList();
}

void CSpoolscopeDlg::InitPrinterList()
{
    m_list.ModifyStyle(0, LVS_REPORT | LVS_SINGLESEL);
    m_list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                       LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, "Printer", LVCFMT_CENTER, 100);
    m_list.InsertColumn(1, "Status", LVCFMT_CENTER, 100);
    m_list.InsertColumn(2, "Jobs in Queue", LVCFMT_CENTER, 100);
    m_list.InsertColumn(3, "Percent", LVCFMT_CENTER, 50);
}

BOOL CSpoolscopeDlg::SelectServer(HTREEITEM hItem)
{
    if (hItem == nullptr)
        hItem = m_tree.GetSelectedItem();
    if (hItem == nullptr)
        return FALSE;
    ServerEntry* pEntry = reinterpret_cast<ServerEntry*>(m_tree.GetItemData(hItem));
    if (pEntry == nullptr || m_bTreeStale || !IsLiveServer(pEntry))
        return FALSE;
    m_pCurServer = pEntry;
    return TRUE;
}

void CSpoolscopeDlg::FillPrinterList()
{
    m_list.DeleteAllItems();
    if (m_pCurServer == nullptr)
        return;
    for (INT_PTR i = 0; i < m_pCurServer->records.GetSize(); ++i)
        AddPrinterRow(&m_list, m_pCurServer->records[i]);
}

void CSpoolscopeDlg::AddPrinterRow(CMyListCtrl* pList, const PrinterRecord* pRecord)
{
    ListRow row;
    row.nImage = 0;
    row.lParam = 0;
    row.bCheck = FALSE;
    CString strJobs, strPercent;
    strJobs.Format("%d", pRecord->nJobs);
    strPercent.Format("%d", pRecord->nPercent);
    row.strTexts.Add(datagram::RecordName(*pRecord).c_str());
    row.strTexts.Add(StatusWord(pRecord->byState));
    row.strTexts.Add(strJobs);
    row.strTexts.Add(strPercent);
    pList->InsertRow(&row);
}

void CSpoolscopeDlg::ShowPrinterInfo(const PrinterRecord* pRecord)
{
    if (pRecord == nullptr) {
        m_edit.SetWindowText("");
        return;
    }
    CString strInfo;
    strInfo.Format(kInfoFormat, datagram::RecordName(*pRecord).c_str(), pRecord->byUserIP[0],
                   pRecord->byUserIP[1], pRecord->byUserIP[2], pRecord->byUserIP[3],
                   PortTypeWord(pRecord->byType), StatusWord(pRecord->byState), pRecord->nJobs);
    m_edit.SetWindowText(strInfo);
}

// ---- The user's actions ----

BOOL CSpoolscopeDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The tree consumes these notifications itself (result 0): act on them
    // here, before the default routing reflects them to it.
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMHDR->code == static_cast<UINT>(NM_DBLCLK) && wParam == IDC_TREE_SERVERS)
        OnTreeDblClk();
    else if (pNMHDR->code == static_cast<UINT>(TVN_SELCHANGEDA) && wParam == IDC_TREE_SERVERS)
        OnTreeSelChanged();
    return CDialog::OnNotify(wParam, lParam, pResult);
}

CSpoolscopeDlg::ItemKind CSpoolscopeDlg::KindOfSelection(HTREEITEM* phSelected)
{
    HTREEITEM hSelected = m_tree.GetSelectedItem();
    *phSelected = hSelected;
    if (hSelected == nullptr)
        return ItemKind::Nothing;
    if (hSelected == m_hRoot)
        return ItemKind::Root;
    HTREEITEM hParent = m_tree.GetParentItem(hSelected);
    if (hParent == m_hRoot)
        return ItemKind::Server;
    if (hParent != nullptr && m_tree.GetParentItem(hParent) == m_hRoot)
        return ItemKind::Printer;
    return ItemKind::Nothing;
}

bool CSpoolscopeDlg::IsLiveServer(const ServerEntry* pEntry) const
{
    for (INT_PTR i = 0; i < m_servers.GetSize(); ++i) {
        if (m_servers[i] == pEntry)
            return true;
    }
    return false;
}

const PrinterRecord* CSpoolscopeDlg::LiveRecord(HTREEITEM hItem)
{
    if (m_bTreeStale)
        return nullptr;
    const PrinterRecord* pRecord = reinterpret_cast<const PrinterRecord*>(m_tree.GetItemData(hItem));
    for (INT_PTR i = 0; i < m_servers.GetSize(); ++i) {
        const CArray<PrinterRecord*>& records = m_servers[i]->records;
        for (INT_PTR j = 0; j < records.GetSize(); ++j) {
            if (records[j] == pRecord)
                return pRecord;
        }
    }
    return nullptr;
}

void CSpoolscopeDlg::OnTreeDblClk()
{
    HTREEITEM hSelected;
    ItemKind kind = KindOfSelection(&hSelected);
    if (kind == ItemKind::Root) {
        m_list.DeleteAllItems();
        ShowPrinterInfo(nullptr);
        return;
    }
    // Items of a build whose entries or records are gone: nothing to act on.
    if (m_bTreeStale && (kind == ItemKind::Server || kind == ItemKind::Printer))
        return;
    if (kind == ItemKind::Server && SelectServer(hSelected)) {
        CString strUrl = "http://" + m_pCurServer->address;
        Shell().ShellExecuteA(m_hWnd, "open", "explorer", strUrl, nullptr, SW_SHOWNORMAL);
    }
    FillPrinterList();
    ShowPrinterInfo(nullptr);
    if (kind == ItemKind::Printer) {
        const PrinterRecord* pRecord = LiveRecord(hSelected);
        if (pRecord == nullptr)
            return;
        ShowPrinterInfo(pRecord);
        CString strFolder = ProgramFolder();
        Shell().ShellExecuteA(nullptr, "open", "qinstall.exe", nullptr, strFolder, SW_HIDE);
    }
}

void CSpoolscopeDlg::OnTreeSelChanged()
{
    HTREEITEM hSelected;
    ItemKind kind = KindOfSelection(&hSelected);
    if (kind == ItemKind::Root)
        return;
    if (m_bTreeStale && (kind == ItemKind::Server || kind == ItemKind::Printer))
        return;
    if (kind == ItemKind::Server)
        SelectServer(hSelected);
    else if (kind == ItemKind::Printer)
        SelectServer(m_tree.GetParentItem(hSelected));
    else
        SelectServer(nullptr);
    FillPrinterList();
    ShowPrinterInfo(nullptr);
    if (kind == ItemKind::Printer)
        ShowPrinterInfo(LiveRecord(hSelected));
}

void CSpoolscopeDlg::OnReset()
{
    CString strFolder = ProgramFolder();
    Shell().ShellExecuteA(nullptr, "open", "procfix.exe", nullptr, strFolder, SW_HIDE);
}

CString CSpoolscopeDlg::ProgramFolder()
{
    char szPath[MAX_PATH] = {};
    DWORD nLength = Shell().GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    // A truncated path is not terminated on older systems.
    szPath[nLength < MAX_PATH ? nLength : MAX_PATH - 1] = '\0';
    CString strPath(szPath);
    return strPath.Left(strPath.ReverseFind('\\') + 1);
}
