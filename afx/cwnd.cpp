#include "afx/cwnd.h"

#include "afx/cdataexchange.h"
#include "afx/cmenu.h"
#include "afx/cwinapp.h"

#include <memory>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// Handle maps: permanent objects bound by Attach, and temporary wrappers for
// windows nobody bound (returned by FromHandle, kept while their window lives).
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

class CTempWnd : public CWnd {
public:
    ~CTempWnd() override { m_hWnd = nullptr; }  // a wrapper never destroys the window
};

std::unordered_map<HWND, std::unique_ptr<CTempWnd>>& TemporaryMap()
{
    static std::unordered_map<HWND, std::unique_ptr<CTempWnd>> map;
    return map;
}

// The message being handled, for Default(); saved and restored around each
// call so that nested messages do not disturb it.
thread_local MSG t_lastMsg;
// The object whose window CreateEx is creating; bound on its first message.
thread_local CWnd* t_pWndInit = nullptr;

const char kDefaultClassName[] = "AfxWnd";

}  // namespace

LPCSTR AfxRegisterDefaultClass()
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = kDefaultClassName;
        atom = ::RegisterClassA(&wc);
    }
    return kDefaultClassName;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr && t_pWndInit != nullptr) {
        pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach(hWnd);
    }
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    MSG saved = t_lastMsg;
    t_lastMsg.hwnd = hWnd;
    t_lastMsg.message = message;
    t_lastMsg.wParam = wParam;
    t_lastMsg.lParam = lParam;
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        pWnd->OnNcDestroyed();
    t_lastMsg = saved;
    return lResult;
}

CWnd::~CWnd()
{
    if (m_hWnd == nullptr)
        return;
    HWND hWnd = m_hWnd;
    if (m_pfnSuper != nullptr)
        UnsubclassWindow();
    else
        Detach();
    if (::IsWindow(hWnd) && hWnd != ::GetDesktopWindow())
        ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = PermanentMap().find(hWnd);
    return it != PermanentMap().end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    auto& temps = TemporaryMap();
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second.get();
    if (temps.size() >= 64) {
        for (auto i = temps.begin(); i != temps.end();)
            i = ::IsWindow(i->first) ? std::next(i) : temps.erase(i);
    }
    auto pTemp = std::make_unique<CTempWnd>();
    pTemp->m_hWnd = hWnd;
    return temps.emplace(hWnd, std::move(pTemp)).first->second.get();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    TemporaryMap().erase(hWndNew);
    PermanentMap()[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    m_pfnSuper = pfnOld != AfxWndProc ? pfnOld : nullptr;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd != nullptr && m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::OnNcDestroyed()
{
    // The window is gone: give the original procedure back and unbind.
    UnsubclassWindow();
    PostNcDestroy();
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void* /*pContext*/)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    bool bOwnClass = lpszClassName == nullptr;
    if (bOwnClass) {
        lpszClassName = AfxRegisterDefaultClass();
        t_pWndInit = this;
    }
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight,
                                  hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    t_pWndInit = nullptr;
    if (hWnd == nullptr)
        return FALSE;
    // cppcheck-suppress knownConditionTrueFalse ; the first messages of CreateWindowExA may attach m_hWnd
    if (m_hWnd == nullptr && !bOwnClass)
        SubclassWindow(hWnd);
    return m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_lastMsg.message, t_lastMsg.wParam, t_lastMsg.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        return pNMHDR != nullptr && OnNotify(wParam, lParam, pResult);
    }
    return DispatchMsg(message, 0, 0, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    // Reflect only to a direct child: a deeper window's parent reflects for it.
    if (hWndCtrl != nullptr && ::GetAncestor(hWndCtrl, GA_PARENT) == m_hWnd) {
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        if (pChild != nullptr && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
            return TRUE;
    }
    UINT nID =
        hWndCtrl != nullptr ? static_cast<UINT>(::GetDlgCtrlID(hWndCtrl)) : static_cast<UINT>(pNMHDR->idFrom);
    return DispatchMsg(WM_NOTIFY, pNMHDR->code, nID, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_NOTIFY)
        return FALSE;
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    return DispatchMsg(WM_REFLECT_BASE + WM_NOTIFY, pNMHDR->code, 0, wParam, lParam, pResult);
}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    std::string buffer(nLength + 1, '\0');
    int nRead = ::GetWindowTextA(m_hWnd, &buffer[0], nLength + 1);
    rString = CString(buffer.data(), nRead);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = GetStyle();
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (hWndChild == nullptr || hWndChild == m_hWnd)
        return -1;
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return ::GetDlgCtrlID(hWndChild);
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnNcLButtonDblClk(UINT, CPoint)
{
    Default();
}
