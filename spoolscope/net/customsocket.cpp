#include "spoolscope/net/customsocket.h"

#include "afx/trace.h"
#include "spoolscope/net/winsockapi.h"

#include <cstring>

CCustomSocket::CCustomSocket() : m_hNotifyWnd(nullptr), m_hSocket(INVALID_SOCKET)
{
    memset(&m_sockAddr, 0, sizeof(m_sockAddr));
}

CCustomSocket::~CCustomSocket()
{
    if (m_hSocket != INVALID_SOCKET) {
        Winsock().closesocket(m_hSocket);
        m_hSocket = INVALID_SOCKET;
    }
}

BOOL CCustomSocket::Create(int nType)
{
    WSADATA wsaData;
    if (Winsock().WSAStartup(MAKEWORD(2, 2), &wsaData) != 0) {
        TRACE("Failed to load Winsock library!\n");
        return FALSE;
    }
    int nProtocol = nType == SOCK_STREAM ? 0 : IPPROTO_UDP;
    m_hSocket = Winsock().socket(AF_INET, nType, nProtocol);
    // cppcheck-suppress knownConditionTrueFalse ; socket() comes through the replaceable Winsock() table
    if (m_hSocket == INVALID_SOCKET || m_hSocket == 0) {
        m_hSocket = INVALID_SOCKET;
        return FALSE;
    }
    return TRUE;
}

void CCustomSocket::Attach(SOCKET hSocket)
{
    m_hSocket = hSocket;
}

void CCustomSocket::Detach()
{
    m_hSocket = INVALID_SOCKET;
}

static BOOL SetIntOption(SOCKET hSocket, int nOption, int nValue)
{
    return Winsock().setsockopt(hSocket, SOL_SOCKET, nOption, reinterpret_cast<const char*>(&nValue),
                                sizeof(nValue)) == 0;
}

BOOL CCustomSocket::SetReuseAddr()
{
    return SetIntOption(m_hSocket, SO_REUSEADDR, 1);
}

BOOL CCustomSocket::SetBroadcast(BOOL bBroadcast)
{
    return SetIntOption(m_hSocket, SO_BROADCAST, bBroadcast);
}

BOOL CCustomSocket::SetLinger()
{
    linger value = {1, 1};
    return Winsock().setsockopt(m_hSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value),
                                sizeof(value)) == 0;
}

BOOL CCustomSocket::SetKeepAlive()
{
    return SetIntOption(m_hSocket, SO_KEEPALIVE, 1);
}

BOOL CCustomSocket::Bind(sockaddr_in addr)
{
    m_sockAddr = addr;
    return Winsock().bind(m_hSocket, reinterpret_cast<const sockaddr*>(&m_sockAddr), sizeof(m_sockAddr)) !=
           SOCKET_ERROR;
}

BOOL CCustomSocket::Listen(int nBacklog)
{
    return Winsock().listen(m_hSocket, nBacklog) != SOCKET_ERROR;
}

int CCustomSocket::Connect(const sockaddr_in* pAddr)
{
    return Winsock().connect(m_hSocket, reinterpret_cast<const sockaddr*>(pAddr), sizeof(sockaddr_in));
}

SOCKET CCustomSocket::Accept()
{
    int nLength = sizeof(m_sockAddr);
    return Winsock().accept(m_hSocket, reinterpret_cast<sockaddr*>(&m_sockAddr), &nLength);
}

int CCustomSocket::AsyncSelect(HWND hWnd, UINT nMsg, long lEvent)
{
    m_hNotifyWnd = hWnd;
    return Winsock().WSAAsyncSelect(m_hSocket, hWnd, nMsg, lEvent);
}

int CCustomSocket::Receive(char* pBuf, int nLen, int nFlags)
{
    return Winsock().recv(m_hSocket, pBuf, nLen, nFlags);
}

int CCustomSocket::ReceiveFrom(char* pBuf, int nLen, sockaddr_in* pFrom)
{
    int nFromLen = sizeof(sockaddr_in);
    return Winsock().recvfrom(m_hSocket, pBuf, nLen, 0, reinterpret_cast<sockaddr*>(pFrom), &nFromLen);
}

int CCustomSocket::Send(const char* pBuf, int nLen, int nFlags)
{
    return Winsock().send(m_hSocket, pBuf, nLen, nFlags);
}

int CCustomSocket::SendTo(const char* pBuf, int nLen, int nFlags, const sockaddr* pTo, int nToLen)
{
    return Winsock().sendto(m_hSocket, pBuf, nLen, nFlags, pTo, nToLen);
}

int CCustomSocket::Close()
{
    Winsock().shutdown(m_hSocket, SD_BOTH);
    int nResult = Winsock().closesocket(m_hSocket);
    m_hSocket = INVALID_SOCKET;
    return nResult;
}

void CCustomSocket::ResolveHost(sockaddr_in* pAddr, const char* pszHost)
{
    if (pAddr->sin_addr.s_addr != INADDR_NONE)
        return;
    hostent* pHost = Winsock().gethostbyname(pszHost);
    if (pHost == nullptr || pHost->h_addr_list == nullptr || pHost->h_addr_list[0] == nullptr) {
        TRACE("Unable to resolve server: %s\n", pszHost);
        return;
    }
    // Never more than the IPv4 field holds, whatever length the entry claims.
    size_t nLength = pHost->h_length > 0 ? static_cast<size_t>(pHost->h_length) : 0;
    if (nLength > sizeof(pAddr->sin_addr))
        nLength = sizeof(pAddr->sin_addr);
    memcpy(&pAddr->sin_addr, pHost->h_addr_list[0], nLength);
}
