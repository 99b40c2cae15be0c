// A randomised run: selections and double-clicks on whatever the tree holds,
// between discovery clicks, discovery ticks, poll ticks and arriving tables,
// with freed entries and records poisoned (debug build). Nothing may start
// for an item whose server or printer is gone, and nothing freed may show.
//
// SPOOLSCOPE_RANDOM_ACTIONS sets the number of actions (default 3000),
// SPOOLSCOPE_RANDOM_SEED the seed (default: new each run, printed on failure).
#include "testdialog.h"

#include "spoolscope/net/datagram.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

namespace {

unsigned long EnvNumber(const char* pszName, unsigned long nDefault)
{
    const char* pszValue = getenv(pszName);
    return pszValue != nullptr && *pszValue != '\0' ? strtoul(pszValue, nullptr, 10) : nDefault;
}

class RandomRunTest : public MonitorTest {
protected:
    // Every item of the current tree, the root first.
    std::vector<HTREEITEM> Items()
    {
        std::vector<HTREEITEM> items;
        std::vector<HTREEITEM> pending = {m_pDlg->m_hRoot};
        while (!pending.empty()) {
            HTREEITEM hItem = pending.back();
            pending.pop_back();
            items.push_back(hItem);
            for (HTREEITEM h = m_pDlg->m_tree.GetChildItem(hItem); h != nullptr;
                 h = m_pDlg->m_tree.GetNextSiblingItem(h))
                pending.push_back(h);
        }
        return items;
    }

    bool IsLiveServer(const void* pData)
    {
        for (INT_PTR i = 0; i < m_pDlg->m_servers.GetSize(); ++i) {
            if (m_pDlg->m_servers[i] == pData)
                return true;
        }
        return false;
    }

    bool IsLiveRecord(const void* pData)
    {
        for (INT_PTR i = 0; i < m_pDlg->m_servers.GetSize(); ++i) {
            const CArray<PrinterRecord*>& records = m_pDlg->m_servers[i]->records;
            for (INT_PTR j = 0; j < records.GetSize(); ++j) {
                if (records[j] == pData)
                    return true;
            }
        }
        return false;
    }

    // What a double-click on hItem may start, judged before it: nothing for
    // the root or an item whose entry or record is gone.
    std::string ExpectedLaunch(HTREEITEM hItem)
    {
        if (hItem == m_pDlg->m_hRoot || m_pDlg->m_bTreeStale)
            return std::string();
        HTREEITEM hParent = m_pDlg->m_tree.GetParentItem(hItem);
        const void* pData = reinterpret_cast<const void*>(m_pDlg->m_tree.GetItemData(hItem));
        std::string label = static_cast<LPCSTR>(m_pDlg->m_tree.GetItemText(hItem));
        if (hParent == m_pDlg->m_hRoot)
            return IsLiveServer(pData) ? "owner \"open\" \"explorer\" \"http://" + label + "\" null 1"
                                       : std::string();
        return IsLiveRecord(pData) ? R"(no owner "open" "qinstall.exe" null "C:\Program Files\Spoolscope\" 0)"
                                   : std::string();
    }

    // Whether a click on the middle of the item's label reaches the item.
    bool IsShown(HTREEITEM hItem)
    {
        RECT rc, client;
        if (!m_pDlg->m_tree.GetItemRect(hItem, &rc, TRUE))
            return false;
        ::GetClientRect(m_pDlg->m_tree.m_hWnd, &client);
        TVHITTESTINFO hit = {};
        hit.pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        return ::PtInRect(&client, hit.pt) && reinterpret_cast<HTREEITEM>(m_pDlg->m_tree.SendMessage(
                                                  TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) == hItem;
    }

    void ExpectNothingFreedShows(const std::string& step)
    {
        std::string info = EditText();
        ASSERT_EQ(info.find('\xDD'), std::string::npos) << step << ": freed memory in the box: " << info;
        for (int nRow = 0; nRow < m_pDlg->m_list.GetItemCount(); ++nRow) {
            for (const std::string& cell : ListRow(nRow))
                ASSERT_EQ(cell.find('\xDD'), std::string::npos) << step << ": freed memory in row " << nRow;
        }
    }
};

TEST_F(RandomRunTest, ActionsAtRandomMomentsNeverReachWhatIsGone)
{
    unsigned long nActions = EnvNumber("SPOOLSCOPE_RANDOM_ACTIONS", 3000);
    unsigned long nSeed = EnvNumber(
        "SPOOLSCOPE_RANDOM_SEED",
        static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count() & 0x7fffffff));
    SCOPED_TRACE("SPOOLSCOPE_RANDOM_SEED=" + std::to_string(nSeed));
    std::mt19937 random(nSeed);
    auto chance = [&](int nPercent) { return static_cast<int>(random() % 100) < nPercent; };

    OpenAndPoll("--server 127.0.0.2 --printer Alpha,jobs=2 --printer Beta --printer Gamma,state=0x84"
                " --server 127.0.0.3 --printer Other --server 127.0.0.4 --animate",
                3, 3);
    m_pDlg->ShowWindow(SW_SHOW);

    int nLaunchesExpected = 0;
    int nStaleDoubleClicks = 0;
    for (unsigned long nAction = 0; nAction < nActions; ++nAction) {
        std::vector<HTREEITEM> items = Items();
        HTREEITEM hItem = items[random() % items.size()];
        int nRoll = static_cast<int>(random() % 100);
        std::string step = "action " + std::to_string(nAction);
        if (nRoll < 30) {
            m_pDlg->m_tree.SelectItem(hItem);
        } else if (nRoll < 60) {
            m_pDlg->m_tree.SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem));
            if (!IsShown(hItem))
                continue;
            std::string expected = ExpectedLaunch(hItem);
            if (expected.empty() && hItem != m_pDlg->m_hRoot)
                ++nStaleDoubleClicks;
            Launches().clear();
            DoubleClick(hItem);
            if (expected.empty()) {
                ASSERT_THAT(Launches(), ::testing::IsEmpty()) << step << ": started for an item that is gone";
            } else {
                ASSERT_THAT(Launches(), ::testing::ElementsAre(expected))
                    << step << ": " << static_cast<LPCSTR>(m_pDlg->m_tree.GetItemText(hItem))
                    << (m_pDlg->m_tree.GetSelectedItem() == hItem ? ", selected" : ", not selected")
                    << (m_pDlg->m_tree.IsWindowEnabled() ? "" : ", tree disabled");
                ++nLaunchesExpected;
            }
        } else if (nRoll < 72) {
            Tick(CSpoolscopeDlg::kPollTimer);
        } else if (nRoll < 84) {
            PumpSockets([] { return false; }, random() % 20);
        } else if (nRoll < 88) {
            if (m_pDlg->m_btnDiscovery.IsWindowEnabled() && chance(50))
                ClickDiscovery();
        } else {
            Tick(CSpoolscopeDlg::kDiscoveryTimer);
        }
        ExpectNothingFreedShows(step);
        if (HasFatalFailure())
            return;
    }
    // The run reached both sides of the hazard.
    EXPECT_GT(nLaunchesExpected, 0);
    EXPECT_GT(nStaleDoubleClicks, 0);
}

}  // namespace
