#include "afx/cmenu.h"

#include <memory>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu()
{
    if (m_hMenu != nullptr)
        ::DestroyMenu(Detach());
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    struct CTempMenu : CMenu {
        ~CTempMenu() override { m_hMenu = nullptr; }
    };
    static std::unordered_map<HMENU, std::unique_ptr<CTempMenu>> temps;
    if (hMenu == nullptr)
        return nullptr;
    auto it = temps.find(hMenu);
    if (it != temps.end())
        return it->second.get();
    if (temps.size() >= 64) {
        for (auto i = temps.begin(); i != temps.end();)
            i = ::IsMenu(i->first) ? std::next(i) : temps.erase(i);
    }
    auto pTemp = std::make_unique<CTempMenu>();
    pTemp->m_hMenu = hMenu;
    return temps.emplace(hMenu, std::move(pTemp)).first->second.get();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == nullptr || m_hMenu != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    char buffer[256] = {};
    int nLength = ::GetMenuStringA(m_hMenu, nIDItem, buffer, sizeof(buffer), nFlags);
    rString = CString(buffer, nLength);
    return nLength;
}
