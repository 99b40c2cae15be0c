#include "spoolscope/netsrv.h"

#include "spoolscope/net/datagram.h"

#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CNetSrv, CWnd)

BEGIN_MESSAGE_MAP(CNetSrv, CWnd)
    ON_MESSAGE(WM_SOCKET_NOTIFY, OnSocketNotify)
END_MESSAGE_MAP()

static const UINT kNotifyWindowId = 5382;

CNetSrv::CNetSrv()
{
    CreateNotifyWindow();
}

CNetSrv::~CNetSrv()
{
    m_Socket.Close();
    FreeRecords();
}

BOOL CNetSrv::CreateNotifyWindow()
{
    if (!Create(nullptr, "OLVA_NetSrv", WS_BORDER, CRect(0, 0, 0, 0), CWnd::GetDesktopWindow(),
                kNotifyWindowId, nullptr)) {
        TRACE("Last Error = %d", static_cast<int>(::GetLastError()));
        return FALSE;
    }
    return InitSocket();
}

BOOL CNetSrv::InitSocket()
{
    if (!m_Socket.Create(SOCK_DGRAM)) {
        TRACE("Create Sender Socket Fail");
        return FALSE;
    }
    m_Socket.SetReuseAddr();

    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(datagram::kPort);
    if (!m_Socket.Bind(addr)) {
        TRACE("\nSock Bind Fail ");
        return FALSE;
    }
    if (m_Socket.AsyncSelect(m_hWnd, WM_SOCKET_NOTIFY, FD_READ) == SOCKET_ERROR) {
        TRACE("\nSelect Fail %d", static_cast<int>(::GetLastError()));
        return FALSE;
    }
    return TRUE;
}

BOOL CNetSrv::Discover()
{
    m_Socket.SetBroadcast(TRUE);
    m_arrServerAddr.RemoveAll();

    uint8_t probe[datagram::kProbeLength];
    datagram::MakeProbe(probe);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    to.sin_port = htons(datagram::kPort);
    return m_Socket.SendTo(reinterpret_cast<const char*>(probe), sizeof(probe), 0,
                           reinterpret_cast<const sockaddr*>(&to), sizeof(to)) != SOCKET_ERROR;
}

BOOL CNetSrv::QueryServer(LPCSTR pszAddress)
{
    m_Socket.SetBroadcast(FALSE);
    FreeRecords();

    const char query = static_cast<char>(datagram::kQueryByte);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(pszAddress);
    to.sin_port = htons(datagram::kPort);
    return m_Socket.SendTo(&query, 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) != SOCKET_ERROR;
}

LRESULT CNetSrv::OnSocketNotify(WPARAM, LPARAM)
{
    sockaddr_in from = {};
    int nLength = m_Socket.ReceiveFrom(reinterpret_cast<char*>(m_byRecvBuf), sizeof(m_byRecvBuf), &from);
    switch (datagram::Classify(m_byRecvBuf, nLength)) {
    case datagram::Kind::PresenceReply:
        AddServerAddress(inet_ntoa(from.sin_addr));
        break;
    case datagram::Kind::StatusTable:
        StoreStatusTable(m_byRecvBuf);
        break;
    case datagram::Kind::Ignored:
        break;
    }
    return 0;
}

void CNetSrv::AddServerAddress(LPCSTR pszAddress)
{
    if (m_arrServerAddr.GetSize() < kMaxServerAddresses)
        m_arrServerAddr.Add(pszAddress);
}

void CNetSrv::StoreStatusTable(const BYTE* pTable)
{
    for (int nSlot = 0; nSlot < datagram::kSlotCount; ++nSlot) {
        const uint8_t* pSlot = datagram::TableSlot(pTable, nSlot);
        if (datagram::SlotIsEmpty(pSlot) || m_arrRecords.GetSize() >= kMaxRecords)
            continue;
        PrinterRecord* pRecord = new (std::nothrow) PrinterRecord;
        if (pRecord == nullptr)
            continue;
        memcpy(pRecord, pSlot, sizeof(PrinterRecord));
        m_arrRecords.Add(pRecord);
    }
}

void CNetSrv::FreeRecords()
{
    for (INT_PTR i = 0; i < m_arrRecords.GetSize(); ++i)
        delete m_arrRecords[i];
    m_arrRecords.RemoveAll();
}
