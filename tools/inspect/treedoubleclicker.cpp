// Runs in the monitor's process: hooks the tree's thread, posts it a
// request, and waits while that thread finds, selects and double-clicks the
// item between two of its own messages, where no timer can run.
#include "agent.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

const DWORD kWaitMs = 5000;

DoubleClickBlock* g_pRequest = nullptr;
HANDLE g_hDone = nullptr;
UINT g_nRequestMessage = 0;

std::string ItemLabel(HWND hTree, HTREEITEM hItem)
{
    char szText[512] = {};
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    if (!::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return std::string();
    return szText;
}

HTREEITEM NextItem(HWND hTree, HTREEITEM hItem, UINT nCode)
{
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
}

// The first item at each level whose label matches, as ssinspect finds it.
HTREEITEM FindItem(HWND hTree, const std::string& path)
{
    HTREEITEM hItem = NextItem(hTree, nullptr, TVGN_ROOT);
    size_t start = 0;
    for (;;) {
        size_t end = path.find('/', start);
        std::string label = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        while (hItem != nullptr && ItemLabel(hTree, hItem) != label)
            hItem = NextItem(hTree, hItem, TVGN_NEXT);
        if (hItem == nullptr || end == std::string::npos)
            return hItem;
        hItem = NextItem(hTree, hItem, TVGN_CHILD);
        start = end + 1;
    }
}

LONG DoubleClick(HWND hTree, const char* pszPath)
{
    if (!::IsWindowEnabled(hTree))
        return DoubleClickBlock::kDisabled;
    HTREEITEM hItem = FindItem(hTree, pszPath);
    if (hItem == nullptr)
        return DoubleClickBlock::kNoItem;
    // TVM_GETITEMRECT takes the item in the rectangle it fills.
    RECT rect = {};
    *reinterpret_cast<HTREEITEM*>(&rect) = hItem;
    RECT client = {};
    ::GetClientRect(hTree, &client);
    if (!::SendMessageA(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)))
        return DoubleClickBlock::kNotShown;
    POINT pt = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (!::PtInRect(&client, pt))
        return DoubleClickBlock::kNotShown;
    if (!::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)))
        return DoubleClickBlock::kMoved;
    // What the tree gets from the second click of a double-click. The first
    // click's WM_LBUTTONDOWN is not sent: it would start the tree's drag
    // tracking, which waits for a real mouse; the selection stands in for it.
    LPARAM lPoint = MAKELPARAM(pt.x, pt.y);
    ::SendMessageA(hTree, WM_LBUTTONDBLCLK, MK_LBUTTON, lPoint);
    ::SendMessageA(hTree, WM_LBUTTONUP, 0, lPoint);
    return NextItem(hTree, nullptr, TVGN_CARET) == hItem ? DoubleClickBlock::kDone : DoubleClickBlock::kMoved;
}

LRESULT CALLBACK TakeRequest(int nCode, WPARAM wParam, LPARAM lParam)
{
    MSG* pMsg = reinterpret_cast<MSG*>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message == g_nRequestMessage &&
        g_pRequest != nullptr && pMsg->hwnd == g_pRequest->hTree) {
        g_pRequest->nResult = DoubleClick(g_pRequest->hTree, g_pRequest->szPath);
        pMsg->message = WM_NULL;
        ::SetEvent(g_hDone);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI DoubleClickTreeItemThread(LPVOID pParam)
{
    DoubleClickBlock* pBlock = static_cast<DoubleClickBlock*>(pParam);
    pBlock->szPath[sizeof(pBlock->szPath) - 1] = '\0';
    pBlock->nResult = DoubleClickBlock::kFailed;
    HMODULE hSelf = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&TakeRequest), &hSelf);
    DWORD nThread = ::GetWindowThreadProcessId(pBlock->hTree, nullptr);
    g_nRequestMessage = ::RegisterWindowMessageA("ssinspect double-click request");
    g_hDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (nThread == 0 || g_nRequestMessage == 0 || g_hDone == nullptr)
        return 0;
    g_pRequest = pBlock;
    HHOOK hHook = ::SetWindowsHookExA(WH_GETMESSAGE, TakeRequest, hSelf, nThread);
    bool bDone = hHook != nullptr && ::PostMessageA(pBlock->hTree, g_nRequestMessage, 0, 0) &&
                 ::WaitForSingleObject(g_hDone, kWaitMs) == WAIT_OBJECT_0;
    if (hHook != nullptr)
        ::UnhookWindowsHookEx(hHook);
    g_pRequest = nullptr;
    ::CloseHandle(g_hDone);
    g_hDone = nullptr;
    return bDone ? 1 : 0;
}
