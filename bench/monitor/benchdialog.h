// The main dialog with the steps the benchmarks time made reachable, and
// what a poll tick and a discovery would receive put in by hand.
#pragma once

#include "spoolscope/spoolscopedlg.h"

class CBenchDlg : public CSpoolscopeDlg {
public:
    // Hands the service nCount records named "Printer<n>", as if a status
    // table had brought them.
    void ReceiveRecords(int nCount);
    // Hands the service nCount presence replies from 10.0.x.y.
    void ReceiveReplies(int nCount);

    void StorePrinterRecords() { CSpoolscopeDlg::StorePrinterRecords(); }
    void RebuildTree() { CSpoolscopeDlg::RebuildTree(); }
    void Tick(UINT_PTR nTimer) { SendMessage(WM_TIMER, nTimer); }
    void ClickDiscovery();
    void FinishDiscovery();
};
