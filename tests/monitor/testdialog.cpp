#include "testdialog.h"

#include "spoolscope/shellfunctions.h"

#include <cstring>

namespace {

HINSTANCE WINAPI RecordShellExecute(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                    LPCSTR lpDirectory, INT nShowCmd)
{
    auto text = [](LPCSTR p) { return p != nullptr ? "\"" + std::string(p) + "\"" : std::string("null"); };
    Launches().push_back(std::string(hwnd != nullptr ? "owner" : "no owner") + " " + text(lpOperation) + " " +
                         text(lpFile) + " " + text(lpParameters) + " " + text(lpDirectory) + " " +
                         std::to_string(nShowCmd));
    return reinterpret_cast<HINSTANCE>(42);
}

DWORD WINAPI FixedModuleFileName(HMODULE, LPSTR lpFilename, DWORD nSize)
{
    const char path[] = "C:\\Program Files\\Spoolscope\\spoolscope.exe";
    strncpy(lpFilename, path, nSize);
    return static_cast<DWORD>(strlen(path));
}

const ShellFunctions kRecordingShell = {RecordShellExecute, FixedModuleFileName};

}  // namespace

std::vector<std::string>& Launches()
{
    static std::vector<std::string> launches;
    return launches;
}

void MonitorTest::SetUp()
{
    Launches().clear();
    SetShellFunctions(&kRecordingShell);
}

void MonitorTest::TearDown()
{
    m_pDlg.reset();
    m_pSim.reset();
    SetShellFunctions(nullptr);
}

void MonitorTest::Open()
{
    m_pDlg = std::make_unique<CTestDlg>();
    ASSERT_TRUE(m_pDlg->Create(IDD_SPOOLSCOPE_DIALOG));
}

void MonitorTest::FinishDiscovery()
{
    for (int i = 0; i < CSpoolscopeDlg::kDiscoveryTicks; ++i)
        Tick(CSpoolscopeDlg::kDiscoveryTimer);
}

void MonitorTest::ClickDiscovery()
{
    m_pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_DISCOVERY, BN_CLICKED),
                        reinterpret_cast<LPARAM>(m_pDlg->m_btnDiscovery.m_hWnd));
}

bool MonitorTest::PumpSockets(const std::function<bool()>& done, unsigned timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return done();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 1, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::Sleep(5);
    }
    return true;
}

bool MonitorTest::WaitForAddresses(INT_PTR nCount)
{
    return PumpSockets([&] { return m_pDlg->m_doc.GetServerAddresses()->GetSize() >= nCount; });
}

bool MonitorTest::WaitForRecords(INT_PTR nCount)
{
    return PumpSockets([&] { return m_pDlg->m_doc.GetPrinterRecords()->GetSize() >= nCount; });
}

std::vector<std::string> MonitorTest::ServerAddresses()
{
    std::vector<std::string> result;
    for (INT_PTR i = 0; i < m_pDlg->m_servers.GetSize(); ++i)
        result.push_back(static_cast<LPCSTR>(m_pDlg->m_servers[i]->address));
    return result;
}

std::vector<std::string> MonitorTest::Children(HTREEITEM hItem)
{
    std::vector<std::string> result;
    for (HTREEITEM h = m_pDlg->m_tree.GetChildItem(hItem); h != nullptr;
         h = m_pDlg->m_tree.GetNextSiblingItem(h))
        result.push_back(static_cast<LPCSTR>(m_pDlg->m_tree.GetItemText(h)));
    return result;
}

HTREEITEM MonitorTest::FindChild(HTREEITEM hParent, const char* pszText)
{
    for (HTREEITEM h = m_pDlg->m_tree.GetChildItem(hParent); h != nullptr;
         h = m_pDlg->m_tree.GetNextSiblingItem(h)) {
        if (m_pDlg->m_tree.GetItemText(h) == pszText)
            return h;
    }
    return nullptr;
}

std::string MonitorTest::EditText()
{
    CString text;
    m_pDlg->m_edit.GetWindowText(text);
    return static_cast<LPCSTR>(text);
}

std::vector<std::string> MonitorTest::ListRow(int nRow)
{
    std::vector<std::string> result;
    for (int i = 0; i < 4; ++i)
        result.push_back(static_cast<LPCSTR>(m_pDlg->m_list.GetItemText(nRow, i)));
    return result;
}

void MonitorTest::OpenAndPoll(const std::string& servers, INT_PTR nServers, INT_PTR nRecords)
{
    Open();
    m_pSim = std::make_unique<SimProcess>("--announce 127.0.0.1:60000 --interval 50 " + servers);
    ASSERT_TRUE(m_pSim->IsRunning());
    ASSERT_TRUE(WaitForAddresses(nServers)) << "the servers did not announce themselves";
    FinishDiscovery();
    ASSERT_TRUE(WaitForRecords(nRecords)) << "no answer to the first query";
    Tick(CSpoolscopeDlg::kPollTimer);
}

void MonitorTest::DoubleClick(HTREEITEM hItem)
{
    m_pDlg->m_tree.SelectItem(hItem);
    RECT rc;
    if (!m_pDlg->m_tree.GetItemRect(hItem, &rc, TRUE))
        return;
    LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    m_pDlg->m_tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    m_pDlg->m_tree.SendMessage(WM_LBUTTONUP, 0, point);
}
