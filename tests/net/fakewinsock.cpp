#include "fakewinsock.h"

#include <cstdio>
#include <cstring>

namespace {

FakeWinsock* g_pFake = nullptr;

void Record(const char* pszFormat, ...) __attribute__((format(gnu_printf, 1, 2)));
void Record(const char* pszFormat, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(buffer, sizeof(buffer), pszFormat, args);
    va_end(args);
    g_pFake->calls.push_back(buffer);
}

long long Handle(SOCKET s)
{
    return s == INVALID_SOCKET ? -1 : static_cast<long long>(s);
}

std::string OptionValue(int nOption, const char* pValue, int nLength)
{
    char buffer[64];
    if (nOption == SO_LINGER && nLength == sizeof(linger)) {
        const linger* p = reinterpret_cast<const linger*>(pValue);
        snprintf(buffer, sizeof(buffer), "linger %u/%u", p->l_onoff, p->l_linger);
    } else if (nLength == sizeof(int)) {
        int n;
        memcpy(&n, pValue, sizeof(n));
        snprintf(buffer, sizeof(buffer), "int %d", n);
    } else {
        snprintf(buffer, sizeof(buffer), "%d bytes", nLength);
    }
    return buffer;
}

int WSAAPI FakeStartup(WORD wVersion, LPWSADATA)
{
    Record("WSAStartup(%#x)", wVersion);
    return g_pFake->nStartupResult;
}

SOCKET WSAAPI FakeSocket(int af, int type, int protocol)
{
    Record("socket(%d,%d,%d)", af, type, protocol);
    return g_pFake->hSocketResult;
}

int WSAAPI FakeSetsockopt(SOCKET s, int level, int optname, const char* optval, int optlen)
{
    Record("setsockopt(%lld,%#x,%#x,%s,%d)", Handle(s), level, optname,
           OptionValue(optname, optval, optlen).c_str(), optlen);
    return g_pFake->nSetsockoptResult;
}

int WSAAPI FakeBind(SOCKET s, const sockaddr* name, int namelen)
{
    Record("bind(%lld,%s,%d)", Handle(s), FakeWinsock::Address(name, namelen).c_str(), namelen);
    return g_pFake->nBindResult;
}

int WSAAPI FakeAsyncSelect(SOCKET s, HWND, u_int wMsg, long lEvent)
{
    Record("WSAAsyncSelect(%lld,%u,%#lx)", Handle(s), wMsg, lEvent);
    if (g_pFake->nSelectResult == SOCKET_ERROR)
        ::SetLastError(WSAEINVAL);
    return g_pFake->nSelectResult;
}

int WSAAPI FakeRecvfrom(SOCKET s, char*, int len, int flags, sockaddr*, int* fromlen)
{
    Record("recvfrom(%lld,%d,%d,%d)", Handle(s), len, flags, fromlen != nullptr ? *fromlen : -1);
    return g_pFake->nRecvfromResult;
}

int WSAAPI FakeSendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen)
{
    std::string hex;
    for (int i = 0; i < len; ++i) {
        char byte[4];
        snprintf(byte, sizeof(byte), "%02x", static_cast<unsigned char>(buf[i]));
        hex += byte;
    }
    Record("sendto(%lld,%s,%d,%s,%d)", Handle(s), hex.c_str(), flags, FakeWinsock::Address(to, tolen).c_str(),
           tolen);
    return s == INVALID_SOCKET ? SOCKET_ERROR : g_pFake->nSendtoResult;
}

int WSAAPI FakeShutdown(SOCKET s, int how)
{
    Record("shutdown(%lld,%d)", Handle(s), how);
    return g_pFake->nShutdownResult;
}

int WSAAPI FakeClosesocket(SOCKET s)
{
    Record("closesocket(%lld)", Handle(s));
    return s == INVALID_SOCKET ? SOCKET_ERROR : g_pFake->nCloseResult;
}

int WSAAPI FakeListen(SOCKET s, int backlog)
{
    Record("listen(%lld,%d)", Handle(s), backlog);
    return 0;
}

int WSAAPI FakeConnect(SOCKET s, const sockaddr* name, int namelen)
{
    Record("connect(%lld,%s,%d)", Handle(s), FakeWinsock::Address(name, namelen).c_str(), namelen);
    return 0;
}

SOCKET WSAAPI FakeAccept(SOCKET s, sockaddr* addr, int* addrlen)
{
    Record("accept(%lld,%d)", Handle(s), addrlen != nullptr ? *addrlen : -1);
    sockaddr_in peer = {};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = inet_addr("127.0.0.7");
    peer.sin_port = htons(4242);
    memcpy(addr, &peer, sizeof(peer));
    return g_pFake->hAcceptResult;
}

int WSAAPI FakeRecv(SOCKET s, char*, int len, int flags)
{
    Record("recv(%lld,%d,%d)", Handle(s), len, flags);
    return 0;
}

int WSAAPI FakeSend(SOCKET s, const char*, int len, int flags)
{
    Record("send(%lld,%d,%d)", Handle(s), len, flags);
    return len;
}

hostent* WSAAPI FakeGethostbyname(const char* name)
{
    Record("gethostbyname(%s)", name);
    return g_pFake->pHost;
}

const WinsockApi kFakeApi = {
    FakeStartup,  FakeSocket, FakeSetsockopt, FakeBind,        FakeAsyncSelect,
    FakeRecvfrom, FakeSendto, FakeShutdown,   FakeClosesocket, FakeListen,
    FakeConnect,  FakeAccept, FakeRecv,       FakeSend,        FakeGethostbyname,
};

}  // namespace

FakeWinsock::FakeWinsock()
{
    g_pFake = this;
    SetWinsockApi(&kFakeApi);
}

FakeWinsock::~FakeWinsock()
{
    SetWinsockApi(nullptr);
    g_pFake = nullptr;
}

FakeWinsock* FakeWinsock::Current()
{
    return g_pFake;
}

std::string FakeWinsock::Address(const sockaddr* pAddr, int nLength)
{
    if (pAddr == nullptr || nLength < static_cast<int>(sizeof(sockaddr_in)))
        return "?";
    const sockaddr_in* p = reinterpret_cast<const sockaddr_in*>(pAddr);
    char buffer[64];
    snprintf(buffer, sizeof(buffer), "%s:%u", inet_ntoa(p->sin_addr), ntohs(p->sin_port));
    return buffer;
}
