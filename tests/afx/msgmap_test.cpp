#include "afx/afx.h"
#include "support/pump.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class CBaseProbe : public CWnd {
public:
    std::vector<std::string> m_log;

protected:
    void OnTimer(UINT_PTR nIDEvent) { m_log.push_back("base.timer " + std::to_string(nIDEvent)); }
    LRESULT OnApp1(WPARAM, LPARAM)
    {
        m_log.push_back("base.app1");
        return 11;
    }
    LRESULT OnApp2(WPARAM, LPARAM)
    {
        m_log.push_back("base.app2");
        return 12;
    }
    // Logs, then lets the original window procedure store the text.
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        m_log.push_back("base.settext");
        return Default();
    }
    void PostNcDestroy() override { m_log.push_back("post-nc-destroy"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP + 1, OnApp1)
    ON_MESSAGE(WM_APP + 2, OnApp2)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

class CDerivedProbe : public CBaseProbe {
protected:
    LRESULT OnApp2(WPARAM, LPARAM)
    {
        m_log.push_back("derived.app2");
        return 22;
    }
    LRESULT OnApp3(WPARAM wParam, LPARAM lParam)
    {
        m_log.push_back("derived.app3 " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 33;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
    ON_MESSAGE(WM_APP + 2, OnApp2)
    ON_MESSAGE(WM_APP + 3, OnApp3)
END_MESSAGE_MAP()

BOOL CreatePopup(CWnd& wnd)
{
    return wnd.CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr);
}

TEST(MessageMapTest, DerivedMapFirstThenBaseMapThenDefault)
{
    CDerivedProbe probe;
    ASSERT_TRUE(CreatePopup(probe));

    struct {
        UINT message;
        const char* logged;  // nullptr: no handler runs
        LRESULT result;
    } cases[] = {
        {WM_APP + 1, "base.app1", 11},     // only in the base map: reached through the chain
        {WM_APP + 2, "derived.app2", 22},  // in both maps: the derived entry wins
        {WM_APP + 3, "derived.app3 7 9", 33},
        {WM_APP + 4, nullptr, 0},  // in no map: DefWindowProc
    };
    for (const auto& c : cases) {
        probe.m_log.clear();
        EXPECT_EQ(probe.SendMessage(c.message, 7, 9), c.result) << c.message;
        if (c.logged != nullptr)
            EXPECT_THAT(probe.m_log, ElementsAre(c.logged)) << c.message;
        else
            EXPECT_THAT(probe.m_log, IsEmpty()) << c.message;
    }
}

TEST(MessageMapTest, DefaultRunsTheDefaultWindowProcedure)
{
    CBaseProbe probe;
    ASSERT_TRUE(CreatePopup(probe));
    probe.SetWindowText("stored by default processing");
    CString text;
    probe.GetWindowText(text);
    EXPECT_STREQ(text, "stored by default processing");
    EXPECT_THAT(probe.m_log, ElementsAre("base.settext"));
}

TEST(MessageMapTest, SubclassedControlKeepsItsOwnBehaviour)
{
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hEdit, nullptr);
    LONG_PTR pfnOriginal = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    {
        CBaseProbe probe;
        ASSERT_TRUE(probe.SubclassWindow(hEdit));
        EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &probe);
        ::SetWindowTextA(hEdit, "edit text");
        EXPECT_EQ(::GetWindowTextLengthA(hEdit), 9);  // the edit control's own procedure stored it
        EXPECT_THAT(probe.m_log, ElementsAre("base.settext"));
        EXPECT_FALSE(CBaseProbe().SubclassWindow(hEdit)) << "a window binds to one object only";
        probe.UnsubclassWindow();
    }
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), pfnOriginal);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    ::DestroyWindow(hEdit);
}

TEST(MessageMapTest, DestroyingTheObjectUnbindsAndDestroysTheWindow)
{
    HWND hWnd;
    {
        CBaseProbe probe;
        ASSERT_TRUE(CreatePopup(probe));
        hWnd = probe.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(MessageMapTest, WindowDestroyedFirstLeavesTheObjectUnbound)
{
    CBaseProbe probe;
    ASSERT_TRUE(CreatePopup(probe));
    HWND hWnd = probe.m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_THAT(probe.m_log, ElementsAre("post-nc-destroy"));
}

TEST(MessageMapTest, TimerArrivesAsWmTimerWithItsId)
{
    CBaseProbe probe;
    ASSERT_TRUE(CreatePopup(probe));
    ASSERT_NE(probe.SetTimer(4097, 10), 0u);
    EXPECT_TRUE(PumpUntil(probe.m_hWnd, [&] { return !probe.m_log.empty(); })) << "no WM_TIMER within 2 s";
    probe.KillTimer(4097);
    ASSERT_FALSE(probe.m_log.empty());
    EXPECT_EQ(probe.m_log.front(), "base.timer 4097");
}

TEST(MessageMapTest, ChildCreatedWithDefaultClassGetsWsChild)
{
    CBaseProbe parent;
    ASSERT_TRUE(CreatePopup(parent));
    CBaseProbe child;
    ASSERT_TRUE(child.Create(nullptr, "OLVA_NetSrv", WS_BORDER, CRect(0, 0, 0, 0), &parent, 5382));
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_FALSE(child.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(child.GetDlgCtrlID(), 5382);
    EXPECT_EQ(child.SendMessage(WM_APP + 1), 11);
    EXPECT_EQ(parent.GetDlgItem(5382), &child);
}

TEST(RuntimeClassTest, IsKindOfFollowsTheBaseChain)
{
    CTreeCtrl tree;
    CDialog dialog;
    EXPECT_STREQ(tree.GetRuntimeClass()->m_lpszClassName, "CTreeCtrl");
    EXPECT_TRUE(tree.IsKindOf(RUNTIME_CLASS(CTreeCtrl)));
    EXPECT_TRUE(tree.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(tree.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(tree.IsKindOf(RUNTIME_CLASS(CListCtrl)));
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(CTreeCtrl)));
    EXPECT_EQ(RUNTIME_CLASS(CWinApp)->m_pBaseClass, RUNTIME_CLASS(CCmdTarget));
}

}  // namespace
