// The discovery cycle and the server tree.
#include "testdialog.h"

#include "support/simprocess.h"
#include "support/udpsender.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST_F(MonitorTest, DiscoveryMergesDuplicatesInFirstReplyOrderAndSortsTheTree)
{
    Open();
    SimProcess sim("--announce 127.0.0.1:60000 --interval 50 --server 127.0.0.3 --server 127.0.0.2");
    ASSERT_TRUE(sim.IsRunning());
    ASSERT_TRUE(WaitForAddresses(6)) << "the announcements did not arrive";
    FinishDiscovery();
    EXPECT_THAT(ServerAddresses(), ElementsAre("127.0.0.3", "127.0.0.2"));
    EXPECT_THAT(Children(m_pDlg->m_hRoot), ElementsAre("127.0.0.2", "127.0.0.3"));
    EXPECT_STREQ(m_pDlg->m_tree.GetItemText(m_pDlg->m_hRoot), "ZQ5518LB");
}

TEST_F(MonitorTest, ButtonsAndCursorsDuringTheFiveTicks)
{
    Open();
    auto cursorOf = [](CWnd& wnd) {
        return reinterpret_cast<HCURSOR>(::GetClassLongPtrA(wnd.m_hWnd, GCLP_HCURSOR));
    };
    HCURSOR hWait = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    HCURSOR hArrow = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    CWnd* controls[] = {&m_pDlg->m_tree,         &m_pDlg->m_list,  &m_pDlg->m_edit,
                        &m_pDlg->m_btnDiscovery, &m_pDlg->m_btnOK, &m_pDlg->m_btnCancel};
    HWND hReset = ::GetDlgItem(m_pDlg->m_hWnd, IDC_BTN_RESET);

    EXPECT_FALSE(m_pDlg->m_btnDiscovery.IsWindowEnabled()) << "disabled from the start of the discovery";
    EXPECT_TRUE(m_pDlg->m_tree.IsWindowEnabled());
    EXPECT_EQ(cursorOf(*m_pDlg), hWait);
    for (int nTick = 1; nTick <= 5; ++nTick) {
        Tick(CSpoolscopeDlg::kDiscoveryTimer);
        bool bBusy = nTick < 5;
        for (CWnd* p : controls) {
            EXPECT_EQ(p->IsWindowEnabled() != FALSE, !bBusy)
                << "tick " << nTick << ", control " << p->GetDlgCtrlID();
            EXPECT_EQ(cursorOf(*p), bBusy ? hWait : hArrow) << "tick " << nTick;
        }
        EXPECT_TRUE(::IsWindowEnabled(hReset)) << "Reset stays enabled, tick " << nTick;
    }
    EXPECT_EQ(cursorOf(*m_pDlg), hArrow);

    // A tick already queued when the timer was killed changes nothing.
    Tick(CSpoolscopeDlg::kDiscoveryTimer);
    EXPECT_TRUE(m_pDlg->m_btnDiscovery.IsWindowEnabled());
    EXPECT_EQ(m_pDlg->m_nTick, 5);
}

TEST_F(MonitorTest, RepliesOutsideADiscoveryNeverMakeEntries)
{
    Open();
    FinishDiscovery();  // nothing answered: quiet
    EXPECT_THAT(Children(m_pDlg->m_hRoot), IsEmpty());
    UdpSender sender;
    sender.Send("U");
    ASSERT_TRUE(WaitForAddresses(1));
    EXPECT_THAT(ServerAddresses(), IsEmpty());

    ClickDiscovery();  // empties the collector first
    FinishDiscovery();
    EXPECT_THAT(ServerAddresses(), IsEmpty());
}

TEST_F(MonitorTest, OnlyTheFirstServerIsPolledAndTheFirstItemByTextIsExpanded)
{
    Open();
    SimProcess sim(
        "--announce 127.0.0.1:60000 --interval 50 --server 127.0.0.9 --printer Zeta --printer Alpha"
        " --printer Mid --server 127.0.0.10 --printer Other");
    ASSERT_TRUE(sim.IsRunning());
    ASSERT_TRUE(WaitForAddresses(2));
    FinishDiscovery();
    ASSERT_THAT(ServerAddresses(), ElementsAre("127.0.0.9", "127.0.0.10"));
    ASSERT_TRUE(WaitForRecords(3)) << "no answer to the first query";
    Tick(CSpoolscopeDlg::kPollTimer);

    HTREEITEM hNine = FindChild(m_pDlg->m_hRoot, "127.0.0.9");
    HTREEITEM hTen = FindChild(m_pDlg->m_hRoot, "127.0.0.10");
    EXPECT_THAT(Children(m_pDlg->m_hRoot), ElementsAre("127.0.0.10", "127.0.0.9"));
    EXPECT_THAT(Children(hNine), ElementsAre("Alpha", "Mid", "Zeta")) << "sorted by name";
    EXPECT_THAT(Children(hTen), IsEmpty()) << "only the first server to answer is polled";
    EXPECT_FALSE(m_pDlg->m_tree.GetItemState(hNine, TVIS_EXPANDED) & TVIS_EXPANDED)
        << "the item expanded is the first by text, not the polled one";
    EXPECT_TRUE(sim.WaitForLog(" 127.0.0.9 127.0.0.1:60000 1 55"));
    EXPECT_EQ(sim.ReadLog().find(" 127.0.0.10 127.0.0.1:60000 1 55"), std::string::npos);
}

TEST_F(MonitorTest, TablesFromAnySenderAllLandInThePolledServer)
{
    Open();
    SimProcess sim(
        "--announce 127.0.0.1:60000 --interval 50 --server 127.0.0.2,double"
        " --printer P1 --printer P2 --printer P3 --printer P4 --printer P5 --printer P6 --printer P7"
        " --printer P1");
    ASSERT_TRUE(sim.IsRunning());
    ASSERT_TRUE(WaitForAddresses(1));
    FinishDiscovery();
    ASSERT_TRUE(WaitForRecords(16));
    UdpSender stranger;  // not the polled server
    stranger.Send(StatusTable({"Stranger"}));
    ASSERT_TRUE(WaitForRecords(17));
    Tick(CSpoolscopeDlg::kPollTimer);

    ASSERT_EQ(m_pDlg->m_servers[0]->records.GetSize(), 17);
    HTREEITEM hServer = FindChild(m_pDlg->m_hRoot, "127.0.0.2");
    std::vector<std::string> printers = Children(hServer);
    EXPECT_EQ(printers.size(), 17u);
    EXPECT_EQ(std::count(printers.begin(), printers.end(), "P1"), 4) << "same names all show";
    EXPECT_EQ(std::count(printers.begin(), printers.end(), "Stranger"), 1);
}

TEST_F(MonitorTest, NoTableBetweenTicksLeavesTheServerWithoutPrinters)
{
    Open();
    SimProcess sim("--announce 127.0.0.1:60000 --interval 50 --server 127.0.0.2 --printer P1");
    ASSERT_TRUE(sim.IsRunning());
    ASSERT_TRUE(WaitForAddresses(1));
    FinishDiscovery();
    ASSERT_TRUE(WaitForRecords(1));
    Tick(CSpoolscopeDlg::kPollTimer);
    HTREEITEM hServer = FindChild(m_pDlg->m_hRoot, "127.0.0.2");
    EXPECT_THAT(Children(hServer), ElementsAre("P1"));

    sim.Stop();
    Tick(CSpoolscopeDlg::kPollTimer);  // its query went unanswered
    EXPECT_THAT(Children(FindChild(m_pDlg->m_hRoot, "127.0.0.2")), IsEmpty());
}

TEST_F(MonitorTest, DiscoveryWhilePollingStopsPollingAndKeepsListAndBox)
{
    Open();
    SimProcess sim("--announce 127.0.0.1:60000 --interval 50 --server 127.0.0.2 --printer P1,jobs=3");
    ASSERT_TRUE(sim.IsRunning());
    ASSERT_TRUE(WaitForAddresses(1));
    FinishDiscovery();
    ASSERT_TRUE(WaitForRecords(1));
    Tick(CSpoolscopeDlg::kPollTimer);
    HTREEITEM hPrinter = m_pDlg->m_tree.GetChildItem(FindChild(m_pDlg->m_hRoot, "127.0.0.2"));
    m_pDlg->m_tree.SelectItem(hPrinter);
    ASSERT_EQ(m_pDlg->m_list.GetItemCount(), 1);
    std::string info = EditText();
    ASSERT_FALSE(info.empty());

    // A table that answers the last query arrives during the new discovery.
    UdpSender late;
    ClickDiscovery();
    EXPECT_FALSE(::KillTimer(m_pDlg->m_hWnd, CSpoolscopeDlg::kPollTimer)) << "polling stopped at once";
    EXPECT_FALSE(m_pDlg->m_btnDiscovery.IsWindowEnabled());
    late.Send(StatusTable({"Late"}));
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 1);
    EXPECT_EQ(EditText(), info);
    EXPECT_EQ(Children(m_pDlg->m_hRoot).size(), 1u) << "old items stay until the fifth tick";

    // A poll tick already queued does nothing during the discovery.
    Tick(CSpoolscopeDlg::kPollTimer);
    EXPECT_THAT(ServerAddresses(), IsEmpty());

    // The late table and the answer to the last query, and the server's
    // presence reply for this discovery, in whatever order they come.
    ASSERT_TRUE(PumpSockets([&] {
        return m_pDlg->m_doc.GetPrinterRecords()->GetSize() >= 2 &&
               m_pDlg->m_doc.GetServerAddresses()->GetSize() >= 1;
    }));
    FinishDiscovery();  // its query discards the records of the discovery time
    EXPECT_EQ(m_pDlg->m_doc.GetPrinterRecords()->GetSize(), 0);
    ASSERT_TRUE(WaitForRecords(1));
    Tick(CSpoolscopeDlg::kPollTimer);
    EXPECT_THAT(Children(FindChild(m_pDlg->m_hRoot, "127.0.0.2")), ElementsAre("P1"));
}

}  // namespace
