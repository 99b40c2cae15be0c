#include "spoolscope/doc.h"
#include "spoolscope/net/datagram.h"
#include "spoolscope/netsrv.h"

#include "fakewinsock.h"
#include "support/loopbackwinsock.h"
#include "support/simprocess.h"
#include "support/pump.h"
#include "support/tracecapture.h"
#include "support/udpsender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

class CNetSrvProbe : public CNetSrv {
public:
    using CNetSrv::AddServerAddress;
};

std::vector<std::string> Addresses(CNetSrv& srv)
{
    std::vector<std::string> result;
    CStringArray* p = srv.GetServerAddresses();
    for (INT_PTR i = 0; i < p->GetSize(); ++i)
        result.push_back(static_cast<const char*>(p->GetAt(i)));
    return result;
}

std::vector<std::string> RecordNames(CNetSrv& srv)
{
    std::vector<std::string> result;
    CArray<PrinterRecord*>* p = srv.GetPrinterRecords();
    for (INT_PTR i = 0; i < p->GetSize(); ++i)
        result.push_back(datagram::RecordName(*p->GetAt(i)));
    return result;
}

TEST(NetSrvTest, PresenceRepliesAreCollectedInArrivalOrderWithDuplicates)
{
    CNetSrv srv;
    SimProcess sim("--announce 127.0.0.1:60000 --interval 50 --server 127.0.0.2 --server 127.0.0.3");
    ASSERT_TRUE(sim.IsRunning());
    ASSERT_TRUE(PumpUntil(
        srv.m_hWnd, [&] { return srv.GetServerAddresses()->GetSize() >= 6; }, 5000))
        << "six presence replies did not arrive";
    sim.Stop();
    std::vector<std::string> addresses = Addresses(srv);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(addresses[i], i % 2 == 0 ? "127.0.0.2" : "127.0.0.3") << i;
}

TEST(NetSrvTest, OnlyAReplyByteOrAWholeTableIsTaken)
{
    struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"one other byte", "A"},
        {"two bytes", "UU"},
        {"a discovery probe, as the monitor's own comes back", std::string("\xAA\0\0\0\0\0\0\0", 8)},
        {"991 bytes", std::string(991, 'P')},
        {"993 bytes", std::string(993, 'P')},
        {"1024 bytes", std::string(1024, 'P')},
        {"1025 bytes, longer than the buffer", std::string(1025, 'P')},
        {"a table of empty slots", StatusTable({})},
    };
    UdpSender sender;
    for (const auto& c : cases) {
        CNetSrv srv;
        ASSERT_TRUE(sender.Send(c.bytes)) << c.name;
        ASSERT_TRUE(sender.Send("U")) << c.name;  // a presence reply marks the end
        EXPECT_TRUE(PumpUntil(srv.m_hWnd, [&] { return srv.GetServerAddresses()->GetSize() >= 1; }))
            << c.name << ": the closing presence reply did not arrive";
        EXPECT_THAT(Addresses(srv), ElementsAre("127.0.0.1")) << c.name;
        EXPECT_THAT(RecordNames(srv), IsEmpty()) << c.name;
    }
}

TEST(NetSrvTest, TableKeepsTheNonEmptySlotsInSlotOrder)
{
    CNetSrv srv;
    SimProcess sim("--server 127.0.0.2"
                   " --printer \"Zeta,ip=192.168.0.200,type=0,state=0xA8,percent=-5,jobs=3\""
                   " --printer \"Alpha,ip=10.1.2.3,type=1,state=0x84,percent=40,jobs=0\""
                   " --printer \"Mid,state=0x00,jobs=-2\"");
    ASSERT_TRUE(sim.IsRunning());
    EXPECT_TRUE(srv.QueryServer("127.0.0.2"));
    ASSERT_TRUE(PumpUntil(srv.m_hWnd, [&] { return srv.GetPrinterRecords()->GetSize() >= 3; }))
        << "no status table arrived";
    EXPECT_THAT(RecordNames(srv), ElementsAre("Zeta", "Alpha", "Mid"));
    const PrinterRecord& zeta = *srv.GetPrinterRecords()->GetAt(0);
    EXPECT_THAT(zeta.byUserIP, ElementsAre(192, 168, 0, 200));
    EXPECT_EQ(zeta.byType, 0);
    EXPECT_EQ(zeta.byState, 0xA8);
    EXPECT_EQ(zeta.nPercent, -5);
    EXPECT_EQ(zeta.nJobs, 3);
    const PrinterRecord& mid = *srv.GetPrinterRecords()->GetAt(2);
    EXPECT_EQ(mid.nJobs, -2);
    EXPECT_EQ(srv.GetPrinterRecords()->GetAt(1)->byType, 1);

    // The query was one byte 0x55 from port 60000 to the server's port 60000.
    EXPECT_TRUE(sim.WaitForLog(":60000 1 55")) << sim.ReadLog();
    EXPECT_NE(sim.ReadLog().find(" 127.0.0.2 127.0.0.1:60000 1 55\n"), std::string::npos) << sim.ReadLog();

    // Records nobody took are freed by the next query, before its answer.
    srv.QueryServer("127.0.0.3");
    EXPECT_THAT(RecordNames(srv), IsEmpty());
}

TEST(NetSrvTest, TablesBeforeATakeAllLandOldestFirst)
{
    CNetSrv srv;
    SimProcess sim("--server 127.0.0.2,double --printer First --printer Second");
    ASSERT_TRUE(sim.IsRunning());
    srv.QueryServer("127.0.0.2");
    ASSERT_TRUE(PumpUntil(srv.m_hWnd, [&] { return srv.GetPrinterRecords()->GetSize() >= 4; }))
        << "two tables did not arrive";
    EXPECT_THAT(RecordNames(srv), ElementsAre("First", "Second", "First", "Second"));

    // A take: copy the pointers out, RemoveAll, then the caller frees them.
    std::vector<PrinterRecord*> taken(srv.GetPrinterRecords()->GetData(),
                                      srv.GetPrinterRecords()->GetData() +
                                          srv.GetPrinterRecords()->GetSize());
    srv.GetPrinterRecords()->RemoveAll();
    srv.QueryServer("127.0.0.3");  // frees nothing that was taken
    EXPECT_STREQ(taken[3]->szName, "Second");
    for (PrinterRecord* p : taken)
        delete p;
}

TEST(NetSrvTest, MisbehavingServersAddNothingOrStayInsideTheRecord)
{
    UdpSender sender;
    struct {
        const char* flags;
        size_t records;
        size_t nameLength;  // of the first record
    } cases[] = {
        {"length=991", 0, 0}, {"length=993", 0, 0}, {"length=1025", 0, 0},
        {"silent", 0, 0},     {"longname", 1, 124},  // no terminator anywhere: the whole record, not a byte
                                                     // more
    };
    for (const auto& c : cases) {
        CNetSrv srv;
        SimProcess sim(std::string("--server 127.0.0.2,") + c.flags + " --printer P1");
        ASSERT_TRUE(sim.IsRunning()) << c.flags;
        srv.QueryServer("127.0.0.2");
        ASSERT_TRUE(sim.WaitForLog(" 1 55")) << c.flags << ": the query did not reach the server";
        ::Sleep(100);
        sender.Send("U");  // marks the end: anything the server sent came before it
        ASSERT_TRUE(PumpUntil(srv.m_hWnd, [&] { return srv.GetServerAddresses()->GetSize() >= 1; }))
            << c.flags;
        ASSERT_EQ(static_cast<size_t>(srv.GetPrinterRecords()->GetSize()), c.records) << c.flags;
        if (c.records > 0) {
            EXPECT_EQ(RecordNames(srv)[0].size(), c.nameLength) << c.flags;
        }
    }
}

TEST(NetSrvTest, DiscoverEmptiesTheAddressesAndLeavesTheRecords)
{
    LoopbackWinsock winsock;
    CNetSrvProbe srv;
    UdpSender sender;
    sender.Send(StatusTable({"Late"}));  // the answer to a query before the discovery
    ASSERT_TRUE(PumpUntil(srv.m_hWnd, [&] { return srv.GetPrinterRecords()->GetSize() == 1; }));
    srv.AddServerAddress("127.0.0.9");

    EXPECT_TRUE(srv.Discover());
    EXPECT_THAT(LoopbackWinsock::Broadcasts(), ElementsAre("aa00000000000000 to port 60000"));
    EXPECT_THAT(Addresses(srv), IsEmpty());
    EXPECT_THAT(RecordNames(srv), ElementsAre("Late"));

    srv.QueryServer("127.0.0.3");
    EXPECT_THAT(RecordNames(srv), IsEmpty());
}

TEST(NetSrvTest, AnAddressThatDoesNotConvertIsSentNowhere)
{
    CNetSrv srv;
    EXPECT_FALSE(srv.QueryServer("not an address")) << "a broadcast without SO_BROADCAST must be refused";
}

TEST(NetSrvTest, CollectorsAreBoundedBetweenTakes)
{
    CNetSrv srv;
    UdpSender sender;
    const std::string table = StatusTable({"A", "B", "C", "D", "E", "F", "G", "H"});
    // In bursts, so that the socket's receive queue never overflows.
    for (int nBurst = 0; nBurst < 50; ++nBurst) {
        for (int i = 0; i < 100; ++i)
            sender.Send("U");
        sender.Send(table);
        INT_PTR nExpected = std::min<INT_PTR>((nBurst + 1) * 100, CNetSrv::kMaxServerAddresses);
        ASSERT_TRUE(PumpUntil(srv.m_hWnd,
                              [&] {
                                  return srv.GetServerAddresses()->GetSize() >= nExpected &&
                                         srv.GetPrinterRecords()->GetSize() >=
                                             std::min<INT_PTR>((nBurst + 1) * 8, CNetSrv::kMaxRecords);
                              }))
            << "burst " << nBurst;
    }
    EXPECT_EQ(srv.GetServerAddresses()->GetSize(), CNetSrv::kMaxServerAddresses);
    EXPECT_EQ(srv.GetPrinterRecords()->GetSize(), CNetSrv::kMaxRecords);
}

// The exact Winsock calls, through a stand-in: no datagram leaves the machine.
TEST(NetSrvWinsockTest, ServiceLifeMakesExactlyTheseCalls)
{
    FakeWinsock fake;
    fake.nSendtoResult = 1;
    TraceCapture trace;
    {
        CDoc doc;
        EXPECT_THAT(fake.calls,
                    ElementsAre("WSAStartup(0x202)", "socket(2,2,17)", "setsockopt(100,0xffff,0x4,int 1,4)",
                                "bind(100,0.0.0.0:60000,16)", "WSAAsyncSelect(100,1025,0x1)"));
        fake.calls.clear();
        EXPECT_TRUE(doc.Discover());
        EXPECT_TRUE(doc.QueryServer("127.0.0.2"));
        EXPECT_THAT(fake.calls, ElementsAre("setsockopt(100,0xffff,0x20,int 1,4)",
                                            "sendto(100,aa00000000000000,0,255.255.255.255:60000,16)",
                                            "setsockopt(100,0xffff,0x20,int 0,4)",
                                            "sendto(100,55,0,127.0.0.2:60000,16)"));
        fake.nSendtoResult = SOCKET_ERROR;
        EXPECT_FALSE(doc.Discover());
        EXPECT_FALSE(doc.QueryServer("127.0.0.2"));
        fake.calls.clear();
    }
    EXPECT_THAT(fake.calls, ElementsAre("shutdown(100,2)", "closesocket(100)"));
    EXPECT_THAT(TraceCapture::Lines(), IsEmpty());
}

TEST(NetSrvWinsockTest, EachStartupFailureLeavesItsTraceAndStopsThere)
{
    struct {
        const char* name;
        std::function<void(FakeWinsock&)> setup;
        std::vector<std::string> traces;
        std::vector<std::string> calls;
    } cases[] = {
        {"Winsock does not start",
         [](FakeWinsock& f) { f.nStartupResult = WSASYSNOTREADY; },
         {"Failed to load Winsock library!\n", "Create Sender Socket Fail"},
         {"WSAStartup(0x202)"}},
        {"no socket",
         [](FakeWinsock& f) { f.hSocketResult = INVALID_SOCKET; },
         {"Create Sender Socket Fail"},
         {"WSAStartup(0x202)", "socket(2,2,17)"}},
        {"bind fails",
         [](FakeWinsock& f) { f.nBindResult = SOCKET_ERROR; },
         {"\nSock Bind Fail "},
         {"WSAStartup(0x202)", "socket(2,2,17)", "setsockopt(100,0xffff,0x4,int 1,4)",
          "bind(100,0.0.0.0:60000,16)"}},
        {"WSAAsyncSelect fails",
         [](FakeWinsock& f) { f.nSelectResult = SOCKET_ERROR; },
         {"\nSelect Fail 10022"},
         {"WSAStartup(0x202)", "socket(2,2,17)", "setsockopt(100,0xffff,0x4,int 1,4)",
          "bind(100,0.0.0.0:60000,16)", "WSAAsyncSelect(100,1025,0x1)"}},
    };
    for (const auto& c : cases) {
        FakeWinsock fake;
        c.setup(fake);
        TraceCapture trace;
        CNetSrvProbe srv;
        EXPECT_THAT(TraceCapture::Lines(), ElementsAreArray(c.traces)) << c.name;
        EXPECT_THAT(fake.calls, ElementsAreArray(c.calls)) << c.name;
        EXPECT_NE(srv.m_hWnd, nullptr) << c.name << ": the window stays";
    }
}

TEST(NetSrvWinsockTest, DiscoverWithoutASocketStillEmptiesTheAddresses)
{
    FakeWinsock fake;
    fake.hSocketResult = INVALID_SOCKET;
    CNetSrvProbe srv;
    srv.AddServerAddress("127.0.0.2");
    EXPECT_FALSE(srv.Discover());
    EXPECT_THAT(Addresses(srv), IsEmpty());
    EXPECT_FALSE(srv.QueryServer("127.0.0.2"));
}

TEST(NetSrvWinsockTest, TheHiddenWindowIsAChildOfTheDesktop)
{
    FakeWinsock fake;
    CNetSrv srv;
    ASSERT_NE(srv.m_hWnd, nullptr);
    char szText[32] = {};
    ::GetWindowTextA(srv.m_hWnd, szText, sizeof(szText));
    EXPECT_STREQ(szText, "OLVA_NetSrv");
    EXPECT_EQ(::GetDlgCtrlID(srv.m_hWnd), 5382);
    EXPECT_TRUE(srv.GetStyle() & WS_CHILD);
    EXPECT_FALSE(::IsWindowVisible(srv.m_hWnd));
    EXPECT_TRUE(srv.IsKindOf(RUNTIME_CLASS(CNetSrv)));
    EXPECT_STREQ(srv.GetRuntimeClass()->m_lpszClassName, "CNetSrv");
}

}  // namespace

namespace {

// Run by tests/netns/broadcast_test.sh inside a network namespace, with a
// simulated server in another one; skipped elsewhere.
TEST(NetnsTest, ProbeIsAnsweredAcrossTheNetwork)
{
    const char* pszServer = getenv("SPOOLSCOPE_NETNS_SERVER");
    if (pszServer == nullptr)
        GTEST_SKIP() << "runs inside the network-namespace test only";
    CNetSrv srv;
    ASSERT_TRUE(srv.Discover()) << "the broadcast was not sent";
    ASSERT_TRUE(PumpUntil(
        srv.m_hWnd, [&] { return srv.GetServerAddresses()->GetSize() >= 1; }, 5000))
        << "no presence reply";
    // The monitor's own probe comes back too; it adds nothing.
    EXPECT_THAT(Addresses(srv), ElementsAre(pszServer));
    EXPECT_TRUE(srv.QueryServer(pszServer));
    ASSERT_TRUE(PumpUntil(
        srv.m_hWnd, [&] { return srv.GetPrinterRecords()->GetSize() >= 1; }, 5000));
    EXPECT_THAT(RecordNames(srv), ElementsAre("NetnsPrinter"));
}

}  // namespace
