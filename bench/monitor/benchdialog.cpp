#include "benchdialog.h"

#include "spoolscope/res/resource.h"

#include <cstdio>
#include <cstring>
#include <new>

void CBenchDlg::ReceiveRecords(int nCount)
{
    CArray<PrinterRecord*>* pReceived = m_doc.GetPrinterRecords();
    for (int i = 0; i < nCount; ++i) {
        PrinterRecord* pRecord = new (std::nothrow) PrinterRecord;
        if (pRecord == nullptr)
            return;
        memset(pRecord, 0, sizeof(*pRecord));
        snprintf(reinterpret_cast<char*>(pRecord), 32, "Printer%02d", i);
        pReceived->Add(pRecord);
    }
}

void CBenchDlg::ReceiveReplies(int nCount)
{
    CStringArray* pAddresses = m_doc.GetServerAddresses();
    for (int i = 0; i < nCount; ++i) {
        char szAddress[16];
        snprintf(szAddress, sizeof(szAddress), "10.0.%d.%d", i / 254, i % 254 + 1);
        pAddresses->Add(szAddress);
    }
}

void CBenchDlg::ClickDiscovery()
{
    SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_DISCOVERY, BN_CLICKED),
                reinterpret_cast<LPARAM>(m_btnDiscovery.m_hWnd));
}

void CBenchDlg::FinishDiscovery()
{
    for (int i = 0; i < kDiscoveryTicks; ++i)
        Tick(kDiscoveryTimer);
}
