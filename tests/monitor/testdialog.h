// The main dialog with its insides open to the tests, and the fixture that
// runs it modeless: ticks are sent as WM_TIMER, only socket notifications are
// pumped (the dialog's real timers never fire), no broadcast leaves the
// machine, and launches are recorded instead of made.
#pragma once

#include "spoolscope/res/resource.h"
#include "spoolscope/spoolscopedlg.h"
#include "support/loopbackwinsock.h"
#include "support/simprocess.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CTestDlg : public CSpoolscopeDlg {
public:
    using CSpoolscopeDlg::m_btnCancel;
    using CSpoolscopeDlg::m_btnDiscovery;
    using CSpoolscopeDlg::m_btnOK;
    using CSpoolscopeDlg::m_bTreeStale;
    using CSpoolscopeDlg::m_doc;
    using CSpoolscopeDlg::m_edit;
    using CSpoolscopeDlg::m_hIcon;
    using CSpoolscopeDlg::m_hRoot;
    using CSpoolscopeDlg::m_list;
    using CSpoolscopeDlg::m_nTick;
    using CSpoolscopeDlg::m_pCurServer;
    using CSpoolscopeDlg::m_servers;
    using CSpoolscopeDlg::m_tree;
};

// Launches recorded by the stand-in shell, one line each.
std::vector<std::string>& Launches();

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Open();
    void Tick(UINT_PTR nTimer) { m_pDlg->SendMessage(WM_TIMER, nTimer); }
    void FinishDiscovery();
    void ClickDiscovery();
    // Dispatches socket notifications only, until done() or the deadline.
    bool PumpSockets(const std::function<bool()>& done, unsigned timeoutMs = 3000);
    bool WaitForAddresses(INT_PTR nCount);
    bool WaitForRecords(INT_PTR nCount);
    // Opens the dialog with the simulator announcing the servers (simulator
    // arguments), ends the discovery once nServers answered, and runs the
    // first poll tick once nRecords have arrived.
    void OpenAndPoll(const std::string& servers, INT_PTR nServers, INT_PTR nRecords);
    // Selects the item and double-clicks its label.
    void DoubleClick(HTREEITEM hItem);

    std::vector<std::string> ServerAddresses();          // m_servers, in order
    std::vector<std::string> Children(HTREEITEM hItem);  // labels, in tree order
    HTREEITEM FindChild(HTREEITEM hParent, const char* pszText);
    std::string EditText();
    std::vector<std::string> ListRow(int nRow);

    LoopbackWinsock m_winsock;
    std::unique_ptr<CTestDlg> m_pDlg;
    std::unique_ptr<SimProcess> m_pSim;
};
