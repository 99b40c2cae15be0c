// Notification routing: the parent's OnNotify sees a notification first, the
// sending control's reflected entry consumes it, and only codes the control
// does not reflect reach the parent's own map.
#include "afx/afx.h"
#include "support/pump.h"
#include "resource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

std::string CodeName(UINT code)
{
    switch (code) {
    case NM_DBLCLK:
        return "NM_DBLCLK";
    case TVN_SELCHANGINGA:
        return "TVN_SELCHANGING";
    case TVN_SELCHANGEDA:
        return "TVN_SELCHANGED";
    case TVN_ITEMEXPANDINGA:
        return "TVN_ITEMEXPANDING";
    case TVN_ITEMEXPANDEDA:
        return "TVN_ITEMEXPANDED";
    default:
        return "";  // not recorded
    }
}

class CReflectingTree : public CTreeCtrl {
public:
    std::vector<std::string>* m_pLog = nullptr;
    BOOL m_bVetoSelection = FALSE;

protected:
    void OnDblClk(NMHDR*, LRESULT* pResult)
    {
        m_pLog->push_back("tree: NM_DBLCLK");
        *pResult = 0;
    }
    void OnSelChanging(NMHDR*, LRESULT* pResult)
    {
        m_pLog->push_back("tree: TVN_SELCHANGING");
        *pResult = m_bVetoSelection;  // nonzero keeps the old selection
    }
    void OnSelChanged(NMHDR*, LRESULT* pResult)
    {
        m_pLog->push_back("tree: TVN_SELCHANGED");
        *pResult = 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT(TVN_SELCHANGINGA, OnSelChanging)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
END_MESSAGE_MAP()

class CNotifyDialog : public CDialog {
public:
    CNotifyDialog() : CDialog(IDD_TEST) { m_tree.m_pLog = &m_log; }

    CReflectingTree m_tree;
    std::vector<std::string> m_log;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TREE, m_tree);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        std::string name = CodeName(reinterpret_cast<NMHDR*>(lParam)->code);
        if (!name.empty())
            m_log.push_back("dialog OnNotify: " + name + " from " + std::to_string(wParam));
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    void OnMapDblClk(NMHDR*, LRESULT*) { m_log.push_back("dialog map: NM_DBLCLK"); }
    void OnMapSelChanged(NMHDR*, LRESULT*) { m_log.push_back("dialog map: TVN_SELCHANGED"); }
    void OnMapItemExpanded(NMHDR*, LRESULT*) { m_log.push_back("dialog map: TVN_ITEMEXPANDED"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyDialog, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_TREE, OnMapDblClk)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_TREE, OnMapSelChanged)
    ON_NOTIFY(TVN_ITEMEXPANDEDA, IDC_TREE, OnMapItemExpanded)
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(IDD_TEST));
        m_dialog.ShowWindow(SW_SHOW);
        m_hRoot = m_dialog.m_tree.InsertItem("root");
        m_hChild = m_dialog.m_tree.InsertItem("child", m_hRoot);
        m_dialog.m_log.clear();
    }

    CNotifyDialog m_dialog;
    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hChild = nullptr;
};

TEST_F(ReflectionTest, SelectionChangeIsSeenByOnNotifyThenConsumedByTheTree)
{
    ASSERT_TRUE(m_dialog.m_tree.SelectItem(m_hRoot));
    EXPECT_THAT(m_dialog.m_log,
                ElementsAre("dialog OnNotify: TVN_SELCHANGING from 1000", "tree: TVN_SELCHANGING",
                            "dialog OnNotify: TVN_SELCHANGED from 1000", "tree: TVN_SELCHANGED"));
}

TEST_F(ReflectionTest, DoubleClickIsConsumedByTheTreeAndUnreflectedCodesReachTheMap)
{
    m_dialog.m_tree.SelectItem(m_hRoot);
    RECT rc;
    ASSERT_TRUE(m_dialog.m_tree.GetItemRect(m_hRoot, &rc, TRUE));
    LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    m_dialog.m_log.clear();
    m_dialog.m_tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    m_dialog.m_tree.SendMessage(WM_LBUTTONUP, 0, point);

    // Result 0 lets the tree toggle the item, whose expansion notifications
    // are not reflected and so reach the dialog's own map.
    EXPECT_THAT(m_dialog.m_log,
                ElementsAre("dialog OnNotify: NM_DBLCLK from 1000", "tree: NM_DBLCLK",
                            "dialog OnNotify: TVN_ITEMEXPANDING from 1000",
                            "dialog OnNotify: TVN_ITEMEXPANDED from 1000", "dialog map: TVN_ITEMEXPANDED"));
    EXPECT_TRUE(m_dialog.m_tree.GetItemState(m_hRoot, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(ReflectionTest, ReflectedResultReachesTheControlThroughTheDialog)
{
    ASSERT_TRUE(m_dialog.m_tree.SelectItem(m_hRoot));
    m_dialog.m_tree.m_bVetoSelection = TRUE;
    m_dialog.m_tree.SelectItem(m_hChild);
    EXPECT_EQ(m_dialog.m_tree.GetSelectedItem(), m_hRoot) << "the veto did not reach the tree";

    m_dialog.m_tree.m_bVetoSelection = FALSE;
    m_dialog.m_tree.SelectItem(m_hChild);
    EXPECT_EQ(m_dialog.m_tree.GetSelectedItem(), m_hChild);
}

TEST_F(ReflectionTest, NotificationFromAGrandchildIsNotReflected)
{
    // A tree with the same id, bound to its own object, inside a child window
    // of the dialog: the dialog is not its parent, so it must not reflect.
    CWnd holder;
    ASSERT_TRUE(holder.Create(nullptr, "holder", 0, CRect(0, 0, 50, 50), &m_dialog, 2000));
    CReflectingTree inner;
    std::vector<std::string> innerLog;
    inner.m_pLog = &innerLog;
    ASSERT_TRUE(inner.Create(WC_TREEVIEWA, "", 0, CRect(0, 0, 40, 40), &holder, IDC_TREE));

    NMHDR nmhdr = {inner.m_hWnd, IDC_TREE, static_cast<UINT>(NM_DBLCLK)};
    m_dialog.SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&nmhdr));

    EXPECT_TRUE(innerLog.empty());
    EXPECT_THAT(m_dialog.m_log, ElementsAre("dialog OnNotify: NM_DBLCLK from 1000", "dialog map: NM_DBLCLK"));
}

}  // namespace
