// CCustomSocket: owns one Winsock 2.2 socket handle and turns each socket
// call into a member. BOOL results are 1 or 0; calls that wrap one Winsock
// call pass its result on (-1 on failure); Accept returns a handle or -1.
#pragma once

#include "afx/winheaders.h"

class CCustomSocket {
public:
    CCustomSocket();
    // Closes a socket still held (closesocket only).
    virtual ~CCustomSocket();

    HWND m_hNotifyWnd;       // the window last given to AsyncSelect
    SOCKET m_hSocket;        // INVALID_SOCKET when the wrapper holds none
    sockaddr_in m_sockAddr;  // the address last given to Bind, or Accept's peer

    // Starts Winsock 2.2 and creates an AF_INET socket of nType (protocol 0
    // for SOCK_STREAM, UDP otherwise). A handle of 0 counts as failure.
    BOOL Create(int nType);
    // Takes over hSocket without closing a socket held before.
    void Attach(SOCKET hSocket);
    // Gives the socket up without closing it; the wrapper then holds none.
    void Detach();

    BOOL SetReuseAddr();
    BOOL SetBroadcast(BOOL bBroadcast);
    BOOL SetLinger();  // on, one second
    BOOL SetKeepAlive();

    // Records addr in m_sockAddr (even when bind fails), then binds to it.
    BOOL Bind(sockaddr_in addr);
    BOOL Listen(int nBacklog);
    int Connect(const sockaddr_in* pAddr);
    SOCKET Accept();
    int AsyncSelect(HWND hWnd, UINT nMsg, long lEvent);

    int Receive(char* pBuf, int nLen, int nFlags);
    int ReceiveFrom(char* pBuf, int nLen, sockaddr_in* pFrom);
    int Send(const char* pBuf, int nLen, int nFlags);
    int SendTo(const char* pBuf, int nLen, int nFlags, const sockaddr* pTo, int nToLen);

    // Shuts both directions down, closes the socket and holds none after,
    // whatever the outcome; returns closesocket's result.
    int Close();

    // Fills pAddr's IPv4 address from pszHost's first address, unless it
    // already holds one (anything but INADDR_NONE).
    static void ResolveHost(sockaddr_in* pAddr, const char* pszHost);

private:
    CCustomSocket(const CCustomSocket&) = delete;
    CCustomSocket& operator=(const CCustomSocket&) = delete;
};
