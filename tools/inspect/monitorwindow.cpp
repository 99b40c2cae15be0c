#include "monitorwindow.h"

#include <psapi.h>

#include <cstring>

namespace {

const char kDialogClass[] = "#32770";
const char kCaption[] = "Portolan";

// A Unix path names the same file as Z: followed by the path.
std::string FullWindowsPath(const std::string& path)
{
    std::string windowsPath = path;
    if (!windowsPath.empty() && windowsPath[0] == '/')
        windowsPath = "Z:" + windowsPath;
    for (char& c : windowsPath) {
        if (c == '/')
            c = '\\';
    }
    char szFull[MAX_PATH] = {};
    DWORD nLength = ::GetFullPathNameA(windowsPath.c_str(), MAX_PATH, szFull, nullptr);
    return nLength > 0 && nLength < MAX_PATH ? std::string(szFull, nLength) : windowsPath;
}

std::string ProcessImage(DWORD nProcessId)
{
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, nProcessId);
    if (hProcess == nullptr)
        return std::string();
    char szPath[MAX_PATH] = {};
    DWORD nLength = ::GetModuleFileNameExA(hProcess, nullptr, szPath, MAX_PATH);
    ::CloseHandle(hProcess);
    return std::string(szPath, nLength);
}

struct FindState {
    std::string image;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMonitor(HWND hWnd, LPARAM lParam)
{
    FindState* pState = reinterpret_cast<FindState*>(lParam);
    char szClass[64] = {};
    char szCaption[64] = {};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    ::GetWindowTextA(hWnd, szCaption, sizeof(szCaption));
    if (strcmp(szClass, kDialogClass) != 0 || strcmp(szCaption, kCaption) != 0)
        return TRUE;
    if (!pState->image.empty()) {
        DWORD nProcessId = 0;
        ::GetWindowThreadProcessId(hWnd, &nProcessId);
        if (lstrcmpiA(ProcessImage(nProcessId).c_str(), pState->image.c_str()) != 0)
            return TRUE;
    }
    pState->found.push_back(hWnd);
    return TRUE;
}

BOOL IsWow64(HANDLE hProcess)
{
    BOOL bWow64 = FALSE;
    return ::IsWow64Process(hProcess, &bWow64) && bWow64;
}

}  // namespace

std::vector<HWND> MonitorWindow::FindAll(const std::string& exePath)
{
    FindState state;
    if (!exePath.empty())
        state.image = FullWindowsPath(exePath);
    ::EnumWindows(CollectMonitor, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

bool MonitorWindow::Fail(const std::string& error)
{
    m_error = error;
    return false;
}

bool MonitorWindow::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    m_hProcess.reset(::OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                       PROCESS_VM_READ | PROCESS_VM_WRITE | SYNCHRONIZE,
                                   FALSE, nProcessId));
    if (m_hProcess == nullptr)
        return Fail("cannot open the monitor's process (error " + std::to_string(::GetLastError()) + ")");
    // The structures placed in the monitor's memory have this program's layout.
    if (IsWow64(m_hProcess.get()) != IsWow64(::GetCurrentProcess()))
        return Fail(
            "the monitor and this program differ in bitness: use the ssinspect.exe of the monitor's build");
    m_memory.reset(new RemoteMemory(m_hProcess.get(), kTextOffset + kTextSize));
    if (!m_memory->IsValid())
        return Fail("cannot allocate memory in the monitor's process");
    return true;
}

bool MonitorWindow::SendTo(HWND hTarget, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    DWORD_PTR nResult = 0;
    if (!::SendMessageTimeoutA(hTarget, nMsg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs,
                               &nResult)) {
        char szMsg[16];
        wsprintfA(szMsg, "0x%04X", nMsg);
        return Fail(::IsWindow(hTarget) ? std::string("the monitor did not answer message ") + szMsg +
                                              " within " + std::to_string(kAnswerMs) + " ms"
                                        : "the monitor's window is gone");
    }
    if (pResult != nullptr)
        *pResult = static_cast<LRESULT>(nResult);
    return true;
}

bool MonitorWindow::Send(int nID, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    HWND hControl = ::GetDlgItem(m_hWnd, nID);
    if (hControl == nullptr)
        return Fail("the monitor's window has no control " + std::to_string(nID));
    return SendTo(hControl, nMsg, wParam, lParam, pResult);
}

std::string MonitorWindow::RemoteText()
{
    char szText[kTextSize] = {};
    if (!m_memory->Read(kTextOffset, szText, kTextSize - 1))
        return std::string();
    return szText;
}

// ---- The tree ----

HTREEITEM MonitorWindow::NextItem(HTREEITEM hItem, UINT nCode)
{
    LRESULT nResult = 0;
    if (!Send(kTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem), &nResult))
        return nullptr;
    return reinterpret_cast<HTREEITEM>(nResult);
}

HTREEITEM MonitorWindow::SelectedItem()
{
    return NextItem(nullptr, TVGN_CARET);
}

bool MonitorWindow::ReadItem(HTREEITEM hItem, std::string* pLabel, UINT* pState)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
    item.hItem = hItem;
    item.stateMask = TVIS_EXPANDED;
    item.pszText = static_cast<LPSTR>(m_memory->At(kTextOffset));
    item.cchTextMax = kTextSize;
    LRESULT nResult = 0;
    if (!m_memory->Write(0, &item, sizeof(item)) ||
        !Send(kTree, TVM_GETITEMA, 0, m_memory->Param(), &nResult))
        return false;
    if (nResult == 0 || !m_memory->Read(0, &item, sizeof(item)))
        return Fail("a tree item went away while it was read");
    *pLabel = RemoteText();
    *pState = item.state;
    return true;
}

bool MonitorWindow::ReadTreeOnce(std::vector<TreeLine>* pLines)
{
    pLines->clear();
    HTREEITEM hCaret = SelectedItem();
    if (!m_error.empty())
        return false;
    // Depth first: the stack holds the next sibling to visit at each depth.
    std::vector<HTREEITEM> stack;
    HTREEITEM hItem = NextItem(nullptr, TVGN_ROOT);
    while (hItem != nullptr) {
        TreeLine line;
        UINT nState = 0;
        if (!ReadItem(hItem, &line.label, &nState))
            return false;
        line.nDepth = static_cast<int>(stack.size());
        line.bExpanded = (nState & TVIS_EXPANDED) != 0;
        line.bSelected = hItem == hCaret;
        pLines->push_back(line);
        HTREEITEM hChild = NextItem(hItem, TVGN_CHILD);
        HTREEITEM hNext = NextItem(hItem, TVGN_NEXT);
        if (!m_error.empty())
            return false;
        if (hChild != nullptr) {
            stack.push_back(hNext);
            hItem = hChild;
            continue;
        }
        hItem = hNext;
        while (hItem == nullptr && !stack.empty()) {
            hItem = stack.back();
            stack.pop_back();
        }
    }
    return true;
}

bool MonitorWindow::ReadTree(std::vector<TreeLine>* pLines)
{
    const int kAttempts = 20;
    std::vector<TreeLine> previous;
    bool bHavePrevious = false;
    for (int i = 0; i < kAttempts; ++i) {
        m_error.clear();
        if (!ReadTreeOnce(pLines)) {
            bHavePrevious = false;
            if (!::IsWindow(m_hWnd))
                return false;
            continue;
        }
        if (bHavePrevious && *pLines == previous)
            return true;
        previous = *pLines;
        bHavePrevious = true;
    }
    return Fail(m_error.empty() ? "the tree kept changing while it was read" : m_error);
}

HTREEITEM MonitorWindow::FindItem(const std::string& path)
{
    m_error.clear();
    HTREEITEM hItem = NextItem(nullptr, TVGN_ROOT);
    size_t start = 0;
    for (;;) {
        size_t end = path.find('/', start);
        std::string label = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string text;
        UINT nState = 0;
        while (hItem != nullptr && (!ReadItem(hItem, &text, &nState) || text != label))
            hItem = m_error.empty() ? NextItem(hItem, TVGN_NEXT) : nullptr;
        if (hItem == nullptr || end == std::string::npos)
            return hItem;
        hItem = NextItem(hItem, TVGN_CHILD);
        start = end + 1;
    }
}

bool MonitorWindow::SelectItem(HTREEITEM hItem)
{
    LRESULT nResult = 0;
    if (!Send(kTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem), &nResult))
        return false;
    if (nResult == 0 || SelectedItem() != hItem)
        return Fail("the tree did not select the item");
    return true;
}

bool MonitorWindow::ExpandItem(HTREEITEM hItem)
{
    if (!Send(kTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem)))
        return false;
    LRESULT nState = 0;
    if (!Send(kTree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), TVIS_EXPANDED, &nState))
        return false;
    bool bHasChildren = NextItem(hItem, TVGN_CHILD) != nullptr;
    if ((nState & TVIS_EXPANDED) == 0 && bHasChildren)
        return Fail("the tree did not expand the item");
    return m_error.empty();
}

bool MonitorWindow::Ping(DWORD timeoutMs, double* pElapsedMs)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    DWORD_PTR nResult = 0;
    HWND hTree = ::GetDlgItem(m_hWnd, kTree);
    bool bAnswered =
        ::SendMessageTimeoutA(m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &nResult) &&
        ::SendMessageTimeoutA(hTree, TVM_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &nResult);
    ::QueryPerformanceCounter(&end);
    *pElapsedMs =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (!bAnswered)
        return Fail(::IsWindow(m_hWnd)
                        ? "the monitor did not answer within " + std::to_string(timeoutMs) + " ms"
                        : "the monitor's window is gone");
    return true;
}

// ---- The list, the information box and the buttons ----

bool MonitorWindow::ReadColumns(std::vector<std::string>* pTitles)
{
    pTitles->clear();
    LRESULT hHeader = 0;
    LRESULT nColumns = 0;
    if (!Send(kList, LVM_GETHEADER, 0, 0, &hHeader) ||
        !SendTo(reinterpret_cast<HWND>(hHeader), HDM_GETITEMCOUNT, 0, 0, &nColumns))
        return false;
    for (int i = 0; i < nColumns; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = static_cast<LPSTR>(m_memory->At(kTextOffset));
        column.cchTextMax = kTextSize;
        LRESULT nResult = 0;
        if (!m_memory->Write(0, &column, sizeof(column)) ||
            !Send(kList, LVM_GETCOLUMNA, i, m_memory->Param(), &nResult))
            return false;
        pTitles->push_back(nResult != 0 ? RemoteText() : std::string());
    }
    return true;
}

bool MonitorWindow::ReadRows(std::vector<std::vector<std::string>>* pRows)
{
    pRows->clear();
    std::vector<std::string> titles;
    LRESULT nRows = 0;
    if (!ReadColumns(&titles) || !Send(kList, LVM_GETITEMCOUNT, 0, 0, &nRows))
        return false;
    for (int nRow = 0; nRow < nRows; ++nRow) {
        std::vector<std::string> row;
        for (size_t nColumn = 0; nColumn < titles.size(); ++nColumn) {
            LVITEMA item = {};
            item.iSubItem = static_cast<int>(nColumn);
            item.pszText = static_cast<LPSTR>(m_memory->At(kTextOffset));
            item.cchTextMax = kTextSize;
            char cEmpty = '\0';
            if (!m_memory->Write(0, &item, sizeof(item)) || !m_memory->Write(kTextOffset, &cEmpty, 1) ||
                !Send(kList, LVM_GETITEMTEXTA, nRow, m_memory->Param()))
                return false;
            row.push_back(RemoteText());
        }
        pRows->push_back(row);
    }
    return true;
}

bool MonitorWindow::ReadText(int nID, std::string* pText)
{
    // WM_GETTEXT is copied between processes by the system.
    LRESULT nLength = 0;
    if (!Send(nID, WM_GETTEXTLENGTH, 0, 0, &nLength))
        return false;
    std::vector<char> buffer(static_cast<size_t>(nLength) + 2, '\0');
    LRESULT nCopied = 0;
    if (!Send(nID, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &nCopied))
        return false;
    pText->assign(buffer.data(), static_cast<size_t>(nCopied));
    return true;
}

bool MonitorWindow::IsEnabled(int nID) const
{
    return ::IsWindowEnabled(::GetDlgItem(m_hWnd, nID)) != FALSE;
}

bool MonitorWindow::ClickButton(int nID)
{
    return Send(nID, BM_CLICK, 0, 0);
}

bool MonitorWindow::PressKey(UINT nVirtualKey)
{
    // Keys go to the control with the focus, whose messages the dialog's
    // loop hands to IsDialogMessage; with no focus, to the dialog itself.
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    HWND hTarget = m_hWnd;
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(m_hWnd, nullptr), &info) && info.hwndFocus != nullptr &&
        (info.hwndFocus == m_hWnd || ::IsChild(m_hWnd, info.hwndFocus)))
        hTarget = info.hwndFocus;
    LPARAM lScan = static_cast<LPARAM>(::MapVirtualKeyA(nVirtualKey, 0)) << 16;
    if (!::PostMessageA(hTarget, WM_KEYDOWN, nVirtualKey, lScan | 1) ||
        !::PostMessageA(hTarget, WM_KEYUP, nVirtualKey, lScan | 1 | 0xC0000000))
        return Fail("cannot post the key to the monitor's window");
    return true;
}

bool MonitorWindow::CloseBox()
{
    return SendTo(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0, nullptr);
}
