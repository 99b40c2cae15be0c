#include "spoolscope/net/customsocket.h"

#include "fakewinsock.h"
#include "support/tracecapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

sockaddr_in Address(const char* pszIp, u_short nPort)
{
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr(pszIp);
    addr.sin_port = htons(nPort);
    return addr;
}

struct SocketCase {
    const char* name;
    std::function<void(FakeWinsock&, CCustomSocket&)> setup;
    std::function<long long(CCustomSocket&)> action;
    long long result;
    std::vector<std::string> calls;      // made by the action
    long long hSocketAfter;              // -1: none
    std::vector<std::string> dtorCalls;  // made by the destructor afterwards
};

void Hold(FakeWinsock&, CCustomSocket& s)
{
    s.Attach(100);
}

TEST(CustomSocketTest, EachOperationMakesExactlyItsWinsockCalls)
{
    const SocketCase cases[] = {
        {"Create datagram asks for UDP",
         nullptr,
         [](CCustomSocket& s) { return s.Create(SOCK_DGRAM); },
         1,
         {"WSAStartup(0x202)", "socket(2,2,17)"},
         100,
         {"closesocket(100)"}},
        {"Create stream asks for protocol 0",
         nullptr,
         [](CCustomSocket& s) { return s.Create(SOCK_STREAM); },
         1,
         {"WSAStartup(0x202)", "socket(2,1,0)"},
         100,
         {"closesocket(100)"}},
        {"Create rejects handle 0",
         [](FakeWinsock& f, CCustomSocket&) { f.hSocketResult = 0; },
         [](CCustomSocket& s) { return s.Create(SOCK_DGRAM); },
         0,
         {"WSAStartup(0x202)", "socket(2,2,17)"},
         -1,
         {}},
        {"Create fails with socket",
         [](FakeWinsock& f, CCustomSocket&) { f.hSocketResult = INVALID_SOCKET; },
         [](CCustomSocket& s) { return s.Create(SOCK_DGRAM); },
         0,
         {"WSAStartup(0x202)", "socket(2,2,17)"},
         -1,
         {}},
        {"Close without a socket",
         nullptr,
         [](CCustomSocket& s) { return s.Close(); },
         -1,
         {"shutdown(-1,2)", "closesocket(-1)"},
         -1,
         {}},
        {"Close shuts down, closes, holds none",
         Hold,
         [](CCustomSocket& s) { return s.Close(); },
         0,
         {"shutdown(100,2)", "closesocket(100)"},
         -1,
         {}},
        {"Close holds none even when closesocket fails",
         [](FakeWinsock& f, CCustomSocket& s) {
             f.nCloseResult = -1;
             s.Attach(100);
         },
         [](CCustomSocket& s) { return s.Close(); },
         -1,
         {"shutdown(100,2)", "closesocket(100)"},
         -1,
         {}},
        {"destructor closes without shutdown",
         Hold,
         [](CCustomSocket&) { return 0; },
         0,
         {},
         100,
         {"closesocket(100)"}},
        {"Detach gives the socket up",
         Hold,
         [](CCustomSocket& s) {
             s.Detach();
             return 0;
         },
         0,
         {},
         -1,
         {}},
        {"SetBroadcast off",
         Hold,
         [](CCustomSocket& s) { return s.SetBroadcast(FALSE); },
         1,
         {"setsockopt(100,0xffff,0x20,int 0,4)"},
         100,
         {"closesocket(100)"}},
        {"SetBroadcast on, refused",
         [](FakeWinsock& f, CCustomSocket& s) {
             f.nSetsockoptResult = -1;
             s.Attach(100);
         },
         [](CCustomSocket& s) { return s.SetBroadcast(TRUE); },
         0,
         {"setsockopt(100,0xffff,0x20,int 1,4)"},
         100,
         {"closesocket(100)"}},
        {"SetReuseAddr",
         Hold,
         [](CCustomSocket& s) { return s.SetReuseAddr(); },
         1,
         {"setsockopt(100,0xffff,0x4,int 1,4)"},
         100,
         {"closesocket(100)"}},
        {"SetKeepAlive",
         Hold,
         [](CCustomSocket& s) { return s.SetKeepAlive(); },
         1,
         {"setsockopt(100,0xffff,0x8,int 1,4)"},
         100,
         {"closesocket(100)"}},
        {"SetLinger one second",
         Hold,
         [](CCustomSocket& s) { return s.SetLinger(); },
         1,
         {"setsockopt(100,0xffff,0x80,linger 1/1,4)"},
         100,
         {"closesocket(100)"}},
        {"Bind",
         Hold,
         [](CCustomSocket& s) { return s.Bind(Address("0.0.0.0", 60000)); },
         1,
         {"bind(100,0.0.0.0:60000,16)"},
         100,
         {"closesocket(100)"}},
        {"ReceiveFrom passes flags 0 and length 16",
         Hold,
         [](CCustomSocket& s) {
             char buffer[1024];
             sockaddr_in from;
             return s.ReceiveFrom(buffer, sizeof(buffer), &from);
         },
         0,
         {"recvfrom(100,1024,0,16)"},
         100,
         {"closesocket(100)"}},
        {"SendTo passes everything on",
         [](FakeWinsock& f, CCustomSocket& s) {
             f.nSendtoResult = 1;
             s.Attach(100);
         },
         [](CCustomSocket& s) {
             sockaddr_in to = Address("127.0.0.2", 60000);
             return s.SendTo("U", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof(to));
         },
         1,
         {"sendto(100,55,0,127.0.0.2:60000,16)"},
         100,
         {"closesocket(100)"}},
        {"Listen",
         Hold,
         [](CCustomSocket& s) { return s.Listen(5); },
         1,
         {"listen(100,5)"},
         100,
         {"closesocket(100)"}},
        {"Connect",
         Hold,
         [](CCustomSocket& s) {
             sockaddr_in to = Address("127.0.0.3", 80);
             return s.Connect(&to);
         },
         0,
         {"connect(100,127.0.0.3:80,16)"},
         100,
         {"closesocket(100)"}},
        {"Accept returns the new handle and keeps its own",
         Hold,
         [](CCustomSocket& s) { return static_cast<long long>(s.Accept()); },
         200,
         {"accept(100,16)"},
         100,
         {"closesocket(100)"}},
        {"Receive and Send",
         Hold,
         [](CCustomSocket& s) {
             char buffer[16];
             s.Receive(buffer, sizeof(buffer), 0);
             return s.Send("abc", 3, 0);
         },
         3,
         {"recv(100,16,0)", "send(100,3,0)"},
         100,
         {"closesocket(100)"}},
    };
    for (const auto& c : cases) {
        FakeWinsock fake;
        auto pSocket = std::make_unique<CCustomSocket>();
        if (c.setup)
            c.setup(fake, *pSocket);
        fake.calls.clear();
        EXPECT_EQ(c.action(*pSocket), c.result) << c.name;
        EXPECT_THAT(fake.calls, ElementsAreArray(c.calls)) << c.name;
        EXPECT_EQ(pSocket->m_hSocket == INVALID_SOCKET ? -1 : static_cast<long long>(pSocket->m_hSocket),
                  c.hSocketAfter)
            << c.name;
        fake.calls.clear();
        pSocket.reset();
        EXPECT_THAT(fake.calls, ElementsAreArray(c.dtorCalls)) << c.name << " (destructor)";
    }
}

TEST(CustomSocketTest, CreateReportsWinsockThatDoesNotStart)
{
    FakeWinsock fake;
    fake.nStartupResult = WSASYSNOTREADY;
    TraceCapture trace;
    CCustomSocket s;
    s.Attach(55);
    EXPECT_FALSE(s.Create(SOCK_DGRAM));
    EXPECT_THAT(fake.calls, ElementsAre("WSAStartup(0x202)"));
    EXPECT_EQ(s.m_hSocket, 55u) << "left as it was";
    EXPECT_THAT(TraceCapture::Lines(), ElementsAre("Failed to load Winsock library!\n"));
    s.Detach();
}

TEST(CustomSocketTest, BindAndAsyncSelectRecordTheirArgumentsEvenOnFailure)
{
    FakeWinsock fake;
    fake.nBindResult = SOCKET_ERROR;
    fake.nSelectResult = SOCKET_ERROR;
    CCustomSocket s;
    s.Attach(100);
    EXPECT_FALSE(s.Bind(Address("127.0.0.9", 60000)));
    EXPECT_EQ(FakeWinsock::Address(reinterpret_cast<sockaddr*>(&s.m_sockAddr), sizeof(s.m_sockAddr)),
              "127.0.0.9:60000");
    HWND hWnd = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(s.AsyncSelect(hWnd, WM_USER + 1, FD_READ), SOCKET_ERROR);
    EXPECT_EQ(s.m_hNotifyWnd, hWnd);
    EXPECT_THAT(fake.calls, ElementsAre("bind(100,127.0.0.9:60000,16)", "WSAAsyncSelect(100,1025,0x1)"));
}

TEST(CustomSocketTest, AcceptLeavesThePeerAddress)
{
    FakeWinsock fake;
    CCustomSocket s;
    s.Attach(100);
    s.Accept();
    EXPECT_EQ(FakeWinsock::Address(reinterpret_cast<sockaddr*>(&s.m_sockAddr), sizeof(s.m_sockAddr)),
              "127.0.0.7:4242");
}

TEST(CustomSocketTest, ResolveHostFillsOnlyAnUnsetAddress)
{
    struct {
        sockaddr_in addr;
        uint32_t guard;  // catches a copy longer than the IPv4 field
    } target;

    FakeWinsock fake;
    TraceCapture trace;

    // Already set: no lookup.
    target.addr = Address("127.0.0.5", 60000);
    CCustomSocket::ResolveHost(&target.addr, "printserver");
    EXPECT_THAT(fake.calls, IsEmpty());
    EXPECT_STREQ(inet_ntoa(target.addr.sin_addr), "127.0.0.5");

    // Unset, lookup fails: a trace line, the address stays unset.
    target.addr.sin_addr.s_addr = INADDR_NONE;
    CCustomSocket::ResolveHost(&target.addr, "printserver");
    EXPECT_THAT(fake.calls, ElementsAre("gethostbyname(printserver)"));
    EXPECT_EQ(target.addr.sin_addr.s_addr, INADDR_NONE);
    EXPECT_THAT(TraceCapture::Lines(), ElementsAre("Unable to resolve server: printserver\n"));

    // Unset, lookup succeeds: the first address, never more than four bytes.
    char address[16] = {127, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    char* list[] = {address, nullptr};
    for (int nLength : {4, 16}) {
        hostent host = {};
        host.h_addrtype = AF_INET;
        host.h_length = static_cast<short>(nLength);
        host.h_addr_list = list;
        fake.pHost = &host;
        target.addr.sin_addr.s_addr = INADDR_NONE;
        target.guard = 0xFEEDFACE;
        CCustomSocket::ResolveHost(&target.addr, "printserver");
        EXPECT_STREQ(inet_ntoa(target.addr.sin_addr), "127.0.0.8") << nLength;
        EXPECT_EQ(target.addr.sin_port, htons(60000)) << nLength;
        EXPECT_EQ(target.guard, 0xFEEDFACEu) << nLength;
    }
}

}  // namespace
