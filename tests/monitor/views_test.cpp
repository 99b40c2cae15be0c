// The printer list, the information box and the frame of the dialog.
#include "testdialog.h"

#include "support/simprocess.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class ViewsTest : public MonitorTest {
protected:
    // Polls a server with the given printers and returns its tree item.
    HTREEITEM Poll(const std::string& printers, INT_PTR nRecords)
    {
        OpenAndPoll("--server 127.0.0.2 " + printers, 1, nRecords);
        return FindChild(m_pDlg->m_hRoot, "127.0.0.2");
    }
};

TEST_F(ViewsTest, SelectingAPrinterListsItsServerAndShowsIt)
{
    HTREEITEM hServer = Poll("--printer \"Zeta,ip=192.168.0.200,type=0,state=0xA8,percent=-5,jobs=-3\""
                             " --printer \"Alpha,ip=10.0.0.1,type=1,state=0x84,percent=40,jobs=7\""
                             " --printer \"Zeta,state=0x20,jobs=0\"",
                             3);
    HTREEITEM hZeta = FindChild(hServer, "Zeta");
    ASSERT_NE(hZeta, nullptr);
    m_pDlg->m_tree.SelectItem(hZeta);

    ASSERT_EQ(m_pDlg->m_list.GetItemCount(), 3) << "slot order, same names included";
    EXPECT_THAT(ListRow(0), ElementsAre("Zeta", "ON-LINE", "-3", "-5"));
    EXPECT_THAT(ListRow(1), ElementsAre("Alpha", "BUSY", "7", "40"));
    EXPECT_THAT(ListRow(2), ElementsAre("Zeta", "OFF-LINE", "0", "0"));
    EXPECT_EQ(m_pDlg->m_list.GetSelectedCount(), 0u);
    EXPECT_EQ(EditText(), "Printer Name:\t\tZeta \t\t\t\t   \r\n"
                          "User IP:\t\t\t192.168.0.200 \t\t\t\t   \r\n"
                          "Printer Type:\t\tBi-direction \t\t\t\t   \r\n"
                          "Printer State:\t\tON-LINE \t\t\t\t   \r\n"
                          "Job Number:\t\t-3");

    HTREEITEM hAlpha = FindChild(hServer, "Alpha");
    m_pDlg->m_tree.SelectItem(hAlpha);
    EXPECT_NE(EditText().find("User IP:\t\t\t10.0.0.1 "), std::string::npos);
    EXPECT_NE(EditText().find("Printer Type:\t\tLPT "), std::string::npos);

    // A server item: the list, and an empty box.
    m_pDlg->m_tree.SelectItem(hServer);
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 3);
    EXPECT_EQ(EditText(), "");
    // The root changes neither.
    m_pDlg->m_tree.SelectItem(m_pDlg->m_hRoot);
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 3);
}

TEST_F(ViewsTest, PollTicksRebuildTheTreeButNeverTheListOrTheBox)
{
    HTREEITEM hServer = Poll("--printer P1,jobs=1", 1);
    m_pDlg->m_tree.SelectItem(FindChild(hServer, "P1"));
    std::string info = EditText();
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(WaitForRecords(1));
    Tick(CSpoolscopeDlg::kPollTimer);
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 1);
    EXPECT_EQ(EditText(), info);
}

TEST_F(MonitorTest, ListHasFourCentredColumnsInReportView)
{
    Open();
    EXPECT_TRUE(m_pDlg->m_list.GetStyle() & LVS_REPORT);
    EXPECT_EQ(m_pDlg->m_list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE), 0x23);
    struct {
        const char* title;
        int width;
    } columns[] = {{"Printer", 100}, {"Status", 100}, {"Jobs in Queue", 100}, {"Percent", 50}};
    for (int i = 0; i < 4; ++i) {
        char szTitle[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = szTitle;
        column.cchTextMax = sizeof(szTitle);
        ASSERT_TRUE(m_pDlg->m_list.SendMessage(LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column))) << i;
        EXPECT_STREQ(szTitle, columns[i].title);
        EXPECT_EQ(column.cx, columns[i].width) << columns[i].title;
        if (i > 0) {
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER) << columns[i].title;
        }
    }
}

TEST_F(MonitorTest, TheCreatedDialogHasTheLayoutOfItsTemplate)
{
    Open();
    char szCaption[64] = {};
    ::GetWindowTextA(m_pDlg->m_hWnd, szCaption, sizeof(szCaption));
    EXPECT_STREQ(szCaption, "Portolan");
    EXPECT_FALSE(m_pDlg->GetStyle() & (WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed size";
    EXPECT_TRUE(m_pDlg->GetStyle() & WS_MINIMIZEBOX);

    // Bits the platform manages after creation are left out: scroll bars,
    // the disabled state (a discovery is running), the list view's tab stop
    // (Wine's list view drops it with its scroll bar), and an edit control's
    // border, which the dialog manager turns into a client edge.
    const DWORD kManaged = WS_HSCROLL | WS_VSCROLL | WS_DISABLED;
    struct {
        int id;
        const char* cls;
        DWORD style;  // as created; the list has become a report view
        DWORD mask;
        DWORD exStyle;
        RECT dlu;  // x, y, width, height
    } controls[] = {
        {IDOK, "Button", 0x50010001, ~kManaged, 0, {223, 211, 50, 16}},
        {IDCANCEL, "Button", 0x50010000, ~kManaged, 0, {275, 211, 50, 16}},
        {1000, "SysTreeView32", 0x50012827, ~kManaged, WS_EX_CLIENTEDGE, {7, 7, 136, 200}},
        {-1, "Static", 0x50000007, ~kManaged, 0, {145, 7, 1, 198}},
        {-1, "Static", 0x50000007, ~kManaged, 0, {148, 116, 177, 1}},
        {1001, "SysListView32", 0x5001080D, ~(kManaged | WS_TABSTOP), WS_EX_CLIENTEDGE, {149, 7, 176, 108}},
        {1002, "Edit", 0x50810884, ~(kManaged | WS_BORDER), WS_EX_CLIENTEDGE, {149, 119, 176, 88}},
        {1003, "Button", 0x50010000, ~kManaged, 0, {7, 213, 50, 14}},
        {1004, "Button", 0x50010000, ~kManaged, 0, {61, 213, 50, 14}},
    };
    HWND hChild = ::GetWindow(m_pDlg->m_hWnd, GW_CHILD);
    for (const auto& c : controls) {
        ASSERT_NE(hChild, nullptr) << "missing control " << c.id;
        char szClass[64] = {};
        ::GetClassNameA(hChild, szClass, sizeof(szClass));
        EXPECT_EQ(::GetDlgCtrlID(hChild), c.id) << szClass;
        EXPECT_STRCASEEQ(szClass, c.cls) << c.id;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hChild, GWL_STYLE)) & c.mask, c.style & c.mask)
            << c.id << " " << szClass;
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hChild, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE, c.exStyle)
            << c.id;
        RECT expected = c.dlu;  // mapped as the dialog manager maps them: each value apart
        ::MapDialogRect(m_pDlg->m_hWnd, &expected);
        RECT actual;
        ::GetWindowRect(hChild, &actual);
        ::MapWindowPoints(nullptr, m_pDlg->m_hWnd, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << c.id;
        EXPECT_EQ(actual.top, expected.top) << c.id;
        EXPECT_EQ(actual.right - actual.left, expected.right) << c.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.id;
        hChild = ::GetWindow(hChild, GW_HWNDNEXT);
    }
    EXPECT_EQ(hChild, nullptr) << "no further controls";
}

TEST_F(MonitorTest, SystemMenuEndsWithTheAboutItem)
{
    Open();
    HMENU hMenu = ::GetSystemMenu(m_pDlg->m_hWnd, FALSE);
    int nCount = ::GetMenuItemCount(hMenu);
    ASSERT_GE(nCount, 3);
    EXPECT_TRUE(::GetMenuState(hMenu, nCount - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(hMenu, nCount - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char szText[64] = {};
    ::GetMenuStringA(hMenu, nCount - 1, szText, sizeof(szText), MF_BYPOSITION);
    EXPECT_STREQ(szText, "&About spoolscope...");
    EXPECT_NE(::GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1)) << "standard items stay";
    EXPECT_NE(::GetMenuState(hMenu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(IconOriginTest, CentresWithHalvesTruncatedTowardZero)
{
    struct {
        int width;
        int x;
    } cases[] = {{36, 2}, {31, 0}, {30, 0}, {33, 1}, {10, -10}};
    for (const auto& c : cases) {
        RECT client = {0, 0, c.width, c.width};
        CPoint origin = CSpoolscopeDlg::IconOrigin(client, 32, 32);
        EXPECT_EQ(origin.x, c.x) << c.width;
        EXPECT_EQ(origin.y, c.x) << c.width;
    }
}

TEST_F(MonitorTest, DragIconIsTheWindowIcon)
{
    Open();
    ASSERT_NE(m_pDlg->m_hIcon, nullptr);
    EXPECT_EQ(m_pDlg->SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(m_pDlg->m_hIcon));
    EXPECT_EQ(m_pDlg->SendMessage(WM_GETICON, ICON_BIG), reinterpret_cast<LRESULT>(m_pDlg->m_hIcon));
    EXPECT_EQ(m_pDlg->SendMessage(WM_GETICON, ICON_SMALL), reinterpret_cast<LRESULT>(m_pDlg->m_hIcon));
}

}  // namespace
