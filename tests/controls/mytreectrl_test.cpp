#include "controlsdialog.h"
#include "support/tracecapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// root "ZQ5518LB"
//   A "192.168.0.10"      a1 "Laser", a2 "Ink" (a2's child a2x "ink")
//   B "192.168.0.9"       b1 "laser", b2 "Plotter"
class TreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(IDD_CONTROLS));
        CMyTreeCtrl& t = m_dialog.m_tree;
        root = t.InsertItem("ZQ5518LB");
        a = t.InsertItem("192.168.0.10", root);
        a1 = t.InsertItem("Laser", a);
        a2 = t.InsertItem("Ink", a);
        a2x = t.InsertItem("ink", a2);
        b = t.InsertItem("192.168.0.9", root);
        b1 = t.InsertItem("laser", b);
        b2 = t.InsertItem("Plotter", b);
    }

    CMyTreeCtrl& Tree() { return m_dialog.m_tree; }

    CControlsDialog m_dialog;
    HTREEITEM root, a, a1, a2, a2x, b, b1, b2;
};

TEST_F(TreeTest, DeleteChildrenLeavesTheItemItself)
{
    Tree().DeleteChildren(b2);  // no children: nothing changes
    EXPECT_EQ(Tree().GetCount(), 8u);

    Tree().DeleteChildren(root);
    EXPECT_EQ(Tree().GetCount(), 1u);
    EXPECT_EQ(Tree().GetRootItem(), root);
    EXPECT_EQ(Tree().GetChildItem(root), nullptr);
    EXPECT_STREQ(Tree().GetItemText(root), "ZQ5518LB");
}

TEST_F(TreeTest, FindItemByTextSearchesInPreOrderFromTheStartOn)
{
    struct {
        const char* name;
        HTREEITEM start;
        const char* label;
        HTREEITEM expected;
    } cases[] = {
        {"root itself, any case", root, "zq5518lb", root},
        {"a child before a later sibling's child", root, "LASER", a1},
        {"a parent before its child", root, "INK", a2},
        {"inside a later sibling's subtree", a, "plotter", b2},
        {"never an earlier sibling", b, "Ink", nullptr},
        {"never the parent", b1, "192.168.0.9", nullptr},
        {"not there", root, "Scanner", nullptr},
        {"dotted text compares exactly", root, "192.168.0.1", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tree().FindItemByText(c.start, c.label), c.expected) << c.name;
}

TEST_F(TreeTest, FindItemByTextWithoutAStartReadsNoLabel)
{
    m_dialog.m_tree.m_nItemReads = 0;
    EXPECT_EQ(Tree().FindItemByText(nullptr, "Laser"), nullptr);
    EXPECT_EQ(m_dialog.m_tree.m_nItemReads, 0);
}

TEST_F(TreeTest, SetCheckRecursiveChangesTheItemAndItsDescendantsOnly)
{
    Tree().SetCheckRecursive(nullptr, TRUE);
    Tree().SetCheckRecursive(a, TRUE);
    for (HTREEITEM h : {a, a1, a2, a2x})
        EXPECT_EQ(Tree().GetCheck(h), 1);
    for (HTREEITEM h : {root, b, b1, b2})
        EXPECT_EQ(Tree().GetCheck(h), -1) << "never given a state image";

    Tree().SetCheckRecursive(a2, FALSE);
    EXPECT_EQ(Tree().GetCheck(a2), 0);
    EXPECT_EQ(Tree().GetCheck(a2x), 0);
    EXPECT_EQ(Tree().GetCheck(a1), 1);
}

TEST_F(TreeTest, UpdateCheckFromChildrenPropagatesChecksUpAndNeverClearsOne)
{
    EXPECT_FALSE(Tree().UpdateCheckFromChildren(nullptr));

    // Unchecked item, unchecked child, checked grandchild.
    Tree().SetCheckRecursive(a, FALSE);
    Tree().SetCheck(a2x, TRUE);
    EXPECT_TRUE(Tree().UpdateCheckFromChildren(a));
    EXPECT_EQ(Tree().GetCheck(a2), 1);
    EXPECT_EQ(Tree().GetCheck(a), 1);
    EXPECT_EQ(Tree().GetCheck(a1), 0) << "a sibling is not checked";

    // Checked item over unchecked descendants: nothing changes.
    Tree().SetCheckRecursive(b, FALSE);
    Tree().SetCheck(b, TRUE);
    EXPECT_TRUE(Tree().UpdateCheckFromChildren(b));
    EXPECT_EQ(Tree().GetCheck(b), 1);
    EXPECT_EQ(Tree().GetCheck(b1), 0);
    EXPECT_EQ(Tree().GetCheck(b2), 0);

    // A leaf without a state image reads -1, which counts as checked.
    Tree().SetCheck(b, FALSE);
    HTREEITEM fresh = Tree().InsertItem("fresh", b);
    EXPECT_TRUE(Tree().UpdateCheckFromChildren(b));
    EXPECT_EQ(Tree().GetCheck(b), 1);
    EXPECT_EQ(Tree().GetCheck(fresh), -1);
}

TEST_F(TreeTest, UpdateCheckFromChildrenTracesEachEvaluation)
{
#ifndef _DEBUG
    GTEST_SKIP() << "no trace lines in release builds";
#else
    TraceCapture trace;
    Tree().UpdateCheckFromChildren(b);
    // Each item once, an item before its children; a leaf also evaluates its
    // missing first child.
    EXPECT_THAT(TraceCapture::Lines(), ElementsAre("\nLabel = 192.168.0.9", "\nLabel = laser",
                                                   "\nLabel = ", "\nLabel = Plotter", "\nLabel = "));
#endif
}

TEST_F(TreeTest, ParentSeesTreeNotificationsFirstAndItsMapNever)
{
    m_dialog.ShowWindow(SW_SHOW);
    Tree().SelectItem(a);
    RECT rc;
    ASSERT_TRUE(Tree().GetItemRect(a, &rc, TRUE));
    LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    // (A sent WM_LBUTTONDOWN would start the control's drag tracking, which
    // waits for a real mouse.)
    Tree().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    Tree().SendMessage(WM_LBUTTONUP, 0, point);

    EXPECT_THAT(m_dialog.m_log,
                ElementsAre("OnNotify TVN_SELCHANGED", "routed TVN_SELCHANGED: handled 1, result 0",
                            "OnNotify NM_DBLCLK", "routed NM_DBLCLK: handled 1, result 0"));
    // Result 0 lets the tree do its default: the item toggles open.
    EXPECT_TRUE(Tree().GetItemState(a, TVIS_EXPANDED) & TVIS_EXPANDED);
}

}  // namespace
