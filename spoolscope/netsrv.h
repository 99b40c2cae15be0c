// CNetSrv: the monitor's network service. A hidden window that owns the UDP
// socket bound to port 60000, sends the discovery probe and the status query,
// and collects what comes back: the senders of presence replies as address
// strings, and the records of status tables as separately allocated copies.
#pragma once

#include "afx/afx.h"
#include "spoolscope/net/customsocket.h"
#include "spoolscope/printerrecord.h"

#define WM_SOCKET_NOTIFY (WM_USER + 1)

class CNetSrv : public CWnd {
    DECLARE_DYNAMIC(CNetSrv)

public:
    // Bounds of the collectors between two takes, far above what real
    // servers send; what comes beyond them is dropped.
    static constexpr INT_PTR kMaxServerAddresses = 4096;
    static constexpr INT_PTR kMaxRecords = 256;

    // Creates the hidden window and the bound, notifying socket.
    CNetSrv();
    ~CNetSrv() override;

    // Empties the address collector, then broadcasts the discovery probe.
    BOOL Discover();
    // Frees the records nobody took, then sends the status query to pszAddress.
    BOOL QueryServer(LPCSTR pszAddress);
    // Presence-reply senders since the last Discover, in arrival order.
    CStringArray* GetServerAddresses() { return &m_arrServerAddr; }
    // Records received since the last QueryServer, in arrival order. A caller
    // takes them by copying the pointers and calling RemoveAll; it then owns
    // them and frees each with delete.
    CArray<PrinterRecord*>* GetPrinterRecords() { return &m_arrRecords; }

protected:
    LRESULT OnSocketNotify(WPARAM wParam, LPARAM lParam);

    BOOL CreateNotifyWindow();
    BOOL InitSocket();
    void AddServerAddress(LPCSTR pszAddress);
    void StoreStatusTable(const BYTE* pTable);
    void FreeRecords();

    BYTE m_byRecvBuf[1024];
    CStringArray m_arrServerAddr;
    CArray<PrinterRecord*> m_arrRecords;
    CCustomSocket m_Socket;

    DECLARE_MESSAGE_MAP()
};
