// Selections and double-clicks on tree items whose entries or records are
// gone, and the ownership of entries and records over many cycles.
#include "recordblocks.h"
#include "testdialog.h"

#include "spoolscope/net/datagram.h"
#include "support/simprocess.h"

#include <gmock/gmock.h>

using ::testing::IsEmpty;

namespace {

class HazardTest : public MonitorTest {
protected:
    void StartPolling(const std::string& printers, INT_PTR nRecords)
    {
        OpenAndPoll("--server 127.0.0.2 " + printers, 1, nRecords);
    }
};

TEST_F(HazardTest, OldItemsBetweenADiscoveryStartAndItsFifthTickAreNotFollowed)
{
    StartPolling("--printer Alpha --printer Beta", 2);
    m_pDlg->ShowWindow(SW_SHOW);
    HTREEITEM hServer = FindChild(m_pDlg->m_hRoot, "127.0.0.2");
    HTREEITEM hAlpha = FindChild(hServer, "Alpha");
    HTREEITEM hBeta = FindChild(hServer, "Beta");
    m_pDlg->m_tree.SelectItem(hAlpha);
    std::string info = EditText();
    ASSERT_NE(info.find("Alpha"), std::string::npos);

    ClickDiscovery();  // entries and records freed; the items stay for now
    Launches().clear();
    for (int nTick = 0; nTick < 4; ++nTick) {
        m_pDlg->m_tree.SelectItem(hBeta);
        m_pDlg->m_tree.SelectItem(hServer);
        DoubleClick(hServer);
        DoubleClick(hBeta);
        EXPECT_EQ(m_pDlg->m_pCurServer, nullptr);
        EXPECT_EQ(EditText(), info) << "tick " << nTick;
        EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 2) << "tick " << nTick;
        Tick(CSpoolscopeDlg::kDiscoveryTimer);
    }
    EXPECT_THAT(Launches(), IsEmpty()) << "nothing started for a server or printer that is gone";
}

TEST_F(HazardTest, SelectionChangesWhileARebuildDeletesItemsAreNotFollowed)
{
    StartPolling("--printer Alpha,jobs=1 --printer Beta,jobs=2", 2);
    for (int nPoll = 0; nPoll < 5; ++nPoll) {
        HTREEITEM hServer = FindChild(m_pDlg->m_hRoot, "127.0.0.2");
        m_pDlg->m_tree.SelectItem(FindChild(hServer, nPoll % 2 ? "Alpha" : "Beta"));
        ASSERT_TRUE(WaitForRecords(2));
        Tick(CSpoolscopeDlg::kPollTimer);  // frees the records the selected item points to
        std::string info = EditText();
        EXPECT_EQ(info.find('\xDD'), std::string::npos) << "freed memory was read: " << info;
        EXPECT_TRUE(info.empty() || info.find("Printer Name:\t\t") == 0) << info;
        EXPECT_FALSE(m_pDlg->m_bTreeStale);
    }
}

TEST_F(HazardTest, EveryRecordIsOwnedByExactlyOneHolderAndFreedAtTheEnd)
{
    std::set<const void*> before = LiveRecordBlocks();
    auto newBlocks = [&] {
        std::set<const void*> now = LiveRecordBlocks(), result;
        for (const void* p : now) {
            if (!before.count(p))
                result.insert(p);
        }
        return result;
    };
    StartPolling("--printer A --printer B --printer C", 3);
    for (int nCycle = 0; nCycle < 3; ++nCycle) {
        for (int nPoll = 0; nPoll < 5; ++nPoll) {
            ASSERT_TRUE(WaitForRecords(3));
            Tick(CSpoolscopeDlg::kPollTimer);
        }
        ClickDiscovery();
        ASSERT_TRUE(WaitForAddresses(1));
        FinishDiscovery();
    }
    ASSERT_TRUE(WaitForRecords(3));
    Tick(CSpoolscopeDlg::kPollTimer);

    // Held: the polled entry's records and what the service has received since.
    std::set<const void*> held;
    for (INT_PTR i = 0; i < m_pDlg->m_servers.GetSize(); ++i) {
        for (INT_PTR j = 0; j < m_pDlg->m_servers[i]->records.GetSize(); ++j)
            held.insert(m_pDlg->m_servers[i]->records[j]);
    }
    CArray<PrinterRecord*>* pReceived = m_pDlg->m_doc.GetPrinterRecords();
    for (INT_PTR i = 0; i < pReceived->GetSize(); ++i)
        held.insert(pReceived->GetAt(i));
    EXPECT_EQ(newBlocks(), held);

    // Closing while polling frees everything.
    m_pSim.reset();
    m_pDlg->DestroyWindow();
    m_pDlg.reset();
    EXPECT_THAT(newBlocks(), IsEmpty());
}

TEST_F(HazardTest, ClosingDuringADiscoveryFreesEverything)
{
    std::set<const void*> before = LiveRecordBlocks();
    StartPolling("--printer A --printer B", 2);
    ClickDiscovery();
    m_pSim.reset();
    m_pDlg->DestroyWindow();
    EXPECT_THAT(m_pDlg->m_servers.GetSize(), 0);
    m_pDlg.reset();
    EXPECT_EQ(LiveRecordBlocks(), before);
}

}  // namespace
