// CMenu: a menu handle with the operations the programs use.
#pragma once

#include "afx/cobject.h"
#include "afx/cstring.h"

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)

public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    ~CMenu() override;  // destroys an attached menu

    operator HMENU() const { return m_hMenu; }
    // A temporary object that wraps hMenu (never destroys it); nullptr for null.
    static CMenu* FromHandle(HMENU hMenu);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr)
    {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
};
