// CWnd: a C++ object bound to one window handle, with message-map dispatch,
// notification reflection and default processing by the original window
// procedure.
#pragma once

#include "afx/ccmdtarget.h"
#include "afx/cpoint.h"
#include "afx/crect.h"
#include "afx/cstring.h"

#include <commctrl.h>

class CDataExchange;
class CMenu;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    // Destroys the window if it still exists, after unbinding it from this
    // object so that no message reaches a half-destroyed object.
    ~CWnd() override;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to hWnd, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The bound object, or a temporary one that wraps hWnd (valid while the
    // window exists). nullptr for a null handle.
    static CWnd* FromHandle(HWND hWnd);

    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Binds an existing window: its messages go through this object's map,
    // default processing to its original window procedure.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creates a child window (WS_CHILD is added); a null class name means
    // the framework's default window class.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Window procedure of this object: the message map, then default processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The original window procedure (or DefWindowProc) for any message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now.
    LRESULT Default();

    // Data exchange with the window's controls (see CDataExchange).
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CMenu* GetSystemMenu(BOOL bRevert) const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    // Removes dwRemove and adds dwAdd to the window style; with nFlags, also
    // SetWindowPos with them. FALSE when the style did not change.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

    // Tool-tip hit test: the child window under point, as a tool of this
    // window; -1 when there is none.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;

protected:
    WNDPROC m_pfnSuper = nullptr;  // original window procedure of a subclassed window

    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Every WM_NOTIFY: first reflected to the sending control (if it is a
    // direct child bound to an object whose map consumes it), then this map.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification reflected from the parent; TRUE when consumed here.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after WM_NCDESTROY, once the window is unbound.
    virtual void PostNcDestroy() {}

    // Default handlers: default processing.
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    void OnPaint();
    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    void OnNcDestroyed();
};

// The window procedure of every window bound to a CWnd.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
// Registers (once) and names the framework's default window class.
LPCSTR AfxRegisterDefaultClass();
