#include "controlsdialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

ListRow Row(std::initializer_list<const char*> texts, BOOL bCheck = FALSE, int nImage = 0, LPARAM lParam = 0)
{
    ListRow row;
    row.nImage = nImage;
    row.lParam = lParam;
    row.bCheck = bCheck;
    for (const char* text : texts)
        row.strTexts.Add(text);
    return row;
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(IDD_CONTROLS));
        for (CListCtrl* pList :
             {static_cast<CListCtrl*>(&m_dialog.m_list), static_cast<CListCtrl*>(&m_dialog.m_multiList)}) {
            pList->InsertColumn(0, "Printer", LVCFMT_CENTER, 100);
            pList->InsertColumn(1, "Status", LVCFMT_CENTER, 100);
            pList->InsertColumn(2, "Jobs in Queue", LVCFMT_CENTER, 100);
            pList->InsertColumn(3, "Percent", LVCFMT_CENTER, 50);
        }
    }

    CRecordingList& List() { return m_dialog.m_list; }
    void Fill(CMyListCtrl& list, int nRows)
    {
        for (int i = 0; i < nRows; ++i) {
            ListRow row = Row({"P"});
            list.InsertRow(&row);
        }
    }

    CControlsDialog m_dialog;
};

TEST_F(ListTest, InsertRowAppendsOneRowWithItsTextsImageDataAndCheck)
{
    ListRow full = Row({"Zeta", "BUSY", "3", "-5"}, FALSE, 0, 0);
    ListRow single = Row({"Alpha"}, TRUE, 2, 0x1234);
    List().InsertRow(&full);
    List().InsertRow(&single);

    ASSERT_EQ(List().GetItemCount(), 2);
    EXPECT_STREQ(List().GetItemText(0, 0), "Zeta") << "appended in call order, not sorted";
    EXPECT_STREQ(List().GetItemText(0, 1), "BUSY");
    EXPECT_STREQ(List().GetItemText(0, 2), "3");
    EXPECT_STREQ(List().GetItemText(0, 3), "-5");
    EXPECT_STREQ(List().GetItemText(1, 0), "Alpha");
    EXPECT_STREQ(List().GetItemText(1, 1), "") << "columns without a text stay empty";
    EXPECT_STREQ(List().GetItemText(1, 3), "");
    EXPECT_EQ(List().GetCheck(0), 0);
    EXPECT_EQ(List().GetCheck(1), 1);
    EXPECT_EQ(List().GetItemData(1), 0x1234u);
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    List().SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 2);
}

TEST_F(ListTest, InsertRowWithoutARowAddsNothing)
{
    ListRow empty = Row({});
    List().InsertRow(&empty);
    List().InsertRow(nullptr);
    EXPECT_EQ(List().GetItemCount(), 0);
}

TEST_F(ListTest, RefusedRowLeavesTheOtherRowsAlone)
{
    ListRow unchecked = Row({"Kept"}, FALSE);
    List().InsertRow(&unchecked);
    List().m_bRefuseInsert = true;
    ListRow checked = Row({"Refused", "text"}, TRUE);
    List().InsertRow(&checked);
    ASSERT_EQ(List().GetItemCount(), 1);
    EXPECT_EQ(List().GetCheck(0), 0) << "the refused row's check reached another row";
    EXPECT_STREQ(List().GetItemText(0, 1), "");
}

TEST_F(ListTest, GetFirstSelectedRowFindsTheLowestSelection)
{
    CMyListCtrl& multi = m_dialog.m_multiList;
    Fill(multi, 5);
    EXPECT_EQ(multi.GetFirstSelectedRow(), -1);
    multi.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    multi.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(multi.GetFirstSelectedRow(), 1);
}

TEST_F(ListTest, SelectRowSelectsScrollsOrRefuses)
{
    EXPECT_EQ(List().SelectRow(0), -1) << "empty list";
    Fill(List(), 3);
    List().SetItemState(0, LVIS_FOCUSED | LVIS_CUT, LVIS_FOCUSED | LVIS_CUT);
    struct {
        int row;
        int result;
    } refused[] = {{3, -1}, {4, -1}, {-1, -1}};
    for (const auto& c : refused) {
        EXPECT_EQ(List().SelectRow(c.row), c.result) << c.row;
        EXPECT_EQ(List().GetSelectedCount(), 0u) << c.row;
    }

    EXPECT_EQ(List().SelectRow(0), 1);
    EXPECT_EQ(List().GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT),
              static_cast<UINT>(LVIS_SELECTED));
    const POINT pt = List().m_lastPosition;  // what SelectRow was told
    EXPECT_THAT(List().m_scrolls, ElementsAre(std::to_string(pt.x) + "," + std::to_string(pt.y - 12)));

    List().m_scrolls.clear();
    List().m_bNoPosition = true;
    EXPECT_EQ(List().SelectRow(2), 0);
    EXPECT_TRUE(List().GetItemState(2, LVIS_SELECTED) & LVIS_SELECTED);
    EXPECT_THAT(List().m_scrolls, IsEmpty()) << "no position, no scrolling";
}

TEST_F(ListTest, GetCheckedRowsCountsAndAppends)
{
    ListRow on = Row({"on"}, TRUE);
    ListRow off = Row({"off"}, FALSE);
    List().InsertRow(&on);
    List().InsertRow(&off);
    List().InsertRow(&on);
    List().InsertItem(3, "no state image");  // reads -1: counts as checked

    EXPECT_EQ(List().GetCheck(3), -1);
    EXPECT_EQ(List().GetCheckedRows(nullptr), 3);
    CArray<int> rows;
    rows.Add(7);
    EXPECT_EQ(List().GetCheckedRows(&rows), 3);
    EXPECT_THAT(std::vector<int>(rows.GetData(), rows.GetData() + rows.GetSize()), ElementsAre(7, 0, 2, 3));
}

}  // namespace
