// The simulator over real loopback UDP: probes, queries, the status table's
// bytes, the test flags, announcing and the datagram log.
#include "simprocess.h"
#include "testsocket.h"
#include "uniquefd.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <regex>
#include <sstream>

namespace {

using std::chrono::milliseconds;

const size_t kRecord = 124;
const size_t kTable = 992;

Bytes Slot(const Bytes& table, size_t slot)
{
    return Bytes(table.begin() + static_cast<long>(slot * kRecord),
                 table.begin() + static_cast<long>((slot + 1) * kRecord));
}

Bytes Range(const Bytes& record, size_t offset, size_t size)
{
    return Bytes(record.begin() + static_cast<long>(offset),
                 record.begin() + static_cast<long>(offset + size));
}

// The name as a reader bounded by the 96-byte field sees it.
std::string NameOf(const Bytes& record)
{
    std::string name;
    for (size_t i = 0; i < 96 && record[i] != 0; ++i)
        name += static_cast<char>(record[i]);
    return name;
}

bool AllZero(const Bytes& bytes)
{
    for (uint8_t byte : bytes) {
        if (byte != 0)
            return false;
    }
    return true;
}

class SimProtocolTest : public ::testing::Test {
protected:
    ::testing::AssertionResult StartSim(SimProcess::Args args)
    {
        args.insert(args.end(), {"--port", std::to_string(port_), "--quiet"});
        return sim_.Start(args);
    }

    // Sends a query and returns the single table that answers it.
    Bytes QueryTable(const std::string& server)
    {
        client_.SendTo(server, port_, kQuery);
        std::vector<Datagram> replies = client_.Receive(1);
        if (replies.empty()) {
            ADD_FAILURE() << "no status table from " << server << " within 5 s";
            return Bytes();
        }
        return replies[0].bytes;
    }

    int port_ = FreePort(SOCK_DGRAM);
    SimProcess sim_;
    TestSocket client_;
};

TEST_F(SimProtocolTest, EachServerAnswersAProbeFromItsOwnAddress)
{
    ASSERT_TRUE(StartSim({"--server", "127.0.0.2", "--server", "127.0.0.3"}));
    for (const char* server : {"127.0.0.3", "127.0.0.2"}) {
        client_.SendTo(server, port_, kProbe);
        std::vector<Datagram> replies = client_.Receive(1);
        ASSERT_EQ(replies.size(), 1u) << "no presence reply from " << server << " within 5 s";
        EXPECT_EQ(replies[0].bytes, kPresence);
        EXPECT_EQ(replies[0].fromIp, server);
        EXPECT_EQ(replies[0].fromPort, port_);
    }
}

TEST_F(SimProtocolTest, IgnoresDatagramsThatAreNeitherProbeNorQuery)
{
    ASSERT_TRUE(StartSim({"--server", "127.0.0.2", "--printer", "P"}));
    const std::vector<Bytes> ignored = {
        {},
        {0xAA},
        {0xAA, 0, 0, 0, 0, 0, 0},
        {0xAA, 0, 0, 0, 0, 0, 0, 0, 0},
        {0x55, 0, 0, 0, 0, 0, 0, 0},
        {0x55, 0x55},
        {0x54},
    };
    for (const Bytes& datagram : ignored)
        client_.SendTo("127.0.0.2", port_, datagram);
    // One socket answers in order: a reply to any of the above would come first.
    client_.SendTo("127.0.0.2", port_, kProbe);
    std::vector<Datagram> replies = client_.Receive(1, std::chrono::seconds(5), milliseconds(200));
    ASSERT_EQ(replies.size(), 1u) << "expected only the presence reply to the final probe";
    EXPECT_EQ(replies[0].bytes, kPresence);
}

struct RecordCase {
    std::string printer;
    std::string name;
    Bytes ip;
    uint8_t type;
    uint8_t state;
    Bytes percent;  // little-endian
    Bytes jobs;
};

std::ostream& operator<<(std::ostream& out, const RecordCase& c)
{
    out << "printer '";
    for (unsigned char ch : c.printer) {
        if (ch < 0x20 || ch >= 0x7F)
            out << "\\x" << std::hex << static_cast<int>(ch) << std::dec;
        else
            out << ch;
    }
    return out << "'";
}

class SimRecordTest : public SimProtocolTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(SimRecordTest, QueryReturnsTheRecordAtItsOffsets)
{
    const RecordCase& c = GetParam();
    ASSERT_TRUE(StartSim({"--server", "127.0.0.2", "--printer", c.printer}));
    Bytes table = QueryTable("127.0.0.2");
    ASSERT_EQ(table.size(), kTable);

    Bytes record = Slot(table, 0);
    Bytes name(96, 0);
    std::copy(c.name.begin(), c.name.end(), name.begin());
    EXPECT_EQ(Range(record, 0, 96), name);
    EXPECT_EQ(Range(record, 96, 4), c.ip);
    EXPECT_EQ(record[100], c.type);
    EXPECT_EQ(record[101], c.state);
    EXPECT_TRUE(AllZero(Range(record, 102, 10))) << "reserved bytes 102..111";
    EXPECT_EQ(Range(record, 112, 4), c.percent);
    EXPECT_EQ(Range(record, 116, 4), c.jobs);
    EXPECT_TRUE(AllZero(Range(record, 120, 4))) << "reserved bytes 120..123";
    for (size_t slot = 1; slot < 8; ++slot)
        EXPECT_TRUE(AllZero(Slot(table, slot))) << "slot " << slot << " should be empty";
}

INSTANTIATE_TEST_SUITE_P(
    Printers, SimRecordTest,
    ::testing::Values(RecordCase{"LASER-1", "LASER-1", {0, 0, 0, 0}, 0, 0x88, {0, 0, 0, 0}, {0, 0, 0, 0}},
                      RecordCase{"Office Jet,ip=192.168.200.254,type=1,state=0xA8,percent=-5,jobs=3",
                                 "Office Jet",
                                 {192, 168, 200, 254},
                                 1,
                                 0xA8,
                                 {0xFB, 0xFF, 0xFF, 0xFF},
                                 {3, 0, 0, 0}},
                      RecordCase{"x,jobs=0x12345678,percent=2147483647,ip=255.128.0.1,type=0xff,state=0",
                                 "x",
                                 {255, 128, 0, 1},
                                 0xFF,
                                 0,
                                 {0xFF, 0xFF, 0xFF, 0x7F},
                                 {0x78, 0x56, 0x34, 0x12}},
                      RecordCase{"\xE9t\xE9,percent=-2147483648,jobs=-1",
                                 "\xE9t\xE9",
                                 {0, 0, 0, 0},
                                 0,
                                 0x88,
                                 {0, 0, 0, 0x80},
                                 {0xFF, 0xFF, 0xFF, 0xFF}},
                      RecordCase{std::string(95, 'N') + ",jobs=1",
                                 std::string(95, 'N'),
                                 {0, 0, 0, 0},
                                 0,
                                 0x88,
                                 {0, 0, 0, 0},
                                 {1, 0, 0, 0}}));

TEST_F(SimProtocolTest, PrintersFillSlotsInOrderOnTheirOwnServer)
{
    SimProcess::Args args = {"--server",  "127.0.0.2", "--printer", "A",        "--printer",
                             "B",         "--printer", "C",         "--server", "127.0.0.3",
                             "--printer", "D",         "--server",  "127.0.0.4"};
    for (int i = 1; i <= 8; ++i)
        args.insert(args.end(), {"--printer", "P" + std::to_string(i)});
    ASSERT_TRUE(StartSim(args));

    Bytes two = QueryTable("127.0.0.2");
    ASSERT_EQ(two.size(), kTable);
    EXPECT_EQ(NameOf(Slot(two, 0)), "A");
    EXPECT_EQ(NameOf(Slot(two, 1)), "B");
    EXPECT_EQ(NameOf(Slot(two, 2)), "C");
    for (size_t slot = 3; slot < 8; ++slot)
        EXPECT_TRUE(AllZero(Slot(two, slot))) << "127.0.0.2 slot " << slot;

    Bytes three = QueryTable("127.0.0.3");
    ASSERT_EQ(three.size(), kTable);
    EXPECT_EQ(NameOf(Slot(three, 0)), "D");
    for (size_t slot = 1; slot < 8; ++slot)
        EXPECT_TRUE(AllZero(Slot(three, slot))) << "127.0.0.3 slot " << slot;

    Bytes four = QueryTable("127.0.0.4");
    ASSERT_EQ(four.size(), kTable);
    for (size_t slot = 0; slot < 8; ++slot)
        EXPECT_EQ(NameOf(Slot(four, slot)), "P" + std::to_string(slot + 1));
}

struct FlagCase {
    const char* flags;
    size_t presenceReplies;
    size_t tables;
    size_t tableLength;
};

std::ostream& operator<<(std::ostream& out, const FlagCase& c)
{
    return out << "flags '" << c.flags << "'";
}

class SimFlagTest : public SimProtocolTest, public ::testing::WithParamInterface<FlagCase> {};

// 127.0.0.2 carries the flags; 127.0.0.3 with the same printers gives the
// normal table to compare with.
TEST_P(SimFlagTest, ProbeAndQueryAnswersFollowTheFlags)
{
    const FlagCase& c = GetParam();
    const char* printers[] = {"--printer", "LASER,ip=10.0.0.9,state=0x88,percent=50,jobs=2", "--printer",
                              "INK"};
    SimProcess::Args args = {"--server", std::string("127.0.0.2") + (*c.flags ? "," : "") + c.flags};
    args.insert(args.end(), std::begin(printers), std::end(printers));
    args.insert(args.end(), {"--server", "127.0.0.3"});
    args.insert(args.end(), std::begin(printers), std::end(printers));
    ASSERT_TRUE(StartSim(args));
    Bytes normal = QueryTable("127.0.0.3");
    ASSERT_EQ(normal.size(), kTable);

    client_.SendTo("127.0.0.2", port_, kProbe);
    client_.SendTo("127.0.0.2", port_, kQuery);
    std::vector<Datagram> replies =
        client_.Receive(c.presenceReplies + c.tables, std::chrono::seconds(5), milliseconds(300));
    ASSERT_EQ(replies.size(), c.presenceReplies + c.tables)
        << "replies to one probe and one query (waited 5 s, then 300 ms for surplus)";
    for (size_t i = 0; i < c.presenceReplies; ++i)
        EXPECT_EQ(replies[i].bytes, kPresence) << "reply " << i;
    for (size_t i = c.presenceReplies; i < replies.size(); ++i) {
        const Bytes& table = replies[i].bytes;
        ASSERT_EQ(table.size(), c.tableLength) << "reply " << i;
        for (size_t at = 0; at < table.size(); ++at) {
            uint8_t expected = at < normal.size() ? normal[at] : 0;
            ASSERT_EQ(table[at], expected) << "reply " << i << " byte " << at;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, SimFlagTest,
                         ::testing::Values(FlagCase{"", 1, 1, 992}, FlagCase{"silent", 0, 0, 0},
                                           FlagCase{"double", 1, 2, 992}, FlagCase{"length=991", 1, 1, 991},
                                           FlagCase{"length=993", 1, 1, 993},
                                           FlagCase{"length=1025", 1, 1, 1025},
                                           FlagCase{"probe-twice", 2, 1, 992},
                                           FlagCase{"no-probe", 0, 1, 992}, FlagCase{"no-query", 1, 0, 0},
                                           FlagCase{"double,length=8,probe-twice", 2, 2, 8}));

TEST_F(SimProtocolTest, LongnameLeavesNoNulByteInSlotZero)
{
    ASSERT_TRUE(StartSim({"--server", "127.0.0.2,longname", "--printer",
                          "LASER,ip=10.0.0.9,percent=50,jobs=2", "--printer", "INK", "--server", "127.0.0.3",
                          "--printer", "LASER,ip=10.0.0.9,percent=50,jobs=2", "--printer", "INK"}));
    Bytes normal = QueryTable("127.0.0.3");
    Bytes table = QueryTable("127.0.0.2");
    ASSERT_EQ(table.size(), kTable);
    ASSERT_EQ(normal.size(), kTable);
    for (size_t at = 0; at < 96; ++at)
        ASSERT_EQ(table[at], 'N') << "name byte " << at;
    for (size_t at = 96; at < kRecord; ++at) {
        uint8_t expected = normal[at] != 0 ? normal[at] : 0xFF;
        ASSERT_EQ(table[at], expected) << "byte " << at;
    }
    EXPECT_EQ(Bytes(table.begin() + kRecord, table.end()), Bytes(normal.begin() + kRecord, normal.end()))
        << "only slot 0 changes";
}

TEST_F(SimProtocolTest, AnnouncesInServerOrderAndSkipsSilentServers)
{
    TestSocket listener;
    ASSERT_TRUE(StartSim({"--server", "127.0.0.2", "--server", "127.0.0.3", "--server", "127.0.0.4,silent",
                          "--announce", "127.0.0.1:" + std::to_string(listener.port()), "--interval", "50"}));
    std::vector<Datagram> announces = listener.Receive(4);
    ASSERT_EQ(announces.size(), 4u) << "announces within 5 s";
    const char* expected[] = {"127.0.0.2", "127.0.0.3", "127.0.0.2", "127.0.0.3"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(announces[i].fromIp, expected[i]) << "announce " << i;
        EXPECT_EQ(announces[i].fromPort, port_) << "announce " << i;
        EXPECT_EQ(announces[i].bytes, kPresence) << "announce " << i;
    }
}

TEST_F(SimProtocolTest, LogsEveryReceivedDatagramBeforeAnswering)
{
    std::string log = sim_.File("datagrams.log");
    ASSERT_TRUE(StartSim({"--server", "127.0.0.2", "--printer", "P", "--log", log}));
    client_.SendTo("127.0.0.2", port_, kQuery);
    client_.SendTo("127.0.0.2", port_, {0x01, 0xAB});
    client_.SendTo("127.0.0.2", port_, kProbe);
    ASSERT_EQ(client_.Receive(2).size(), 2u) << "table and presence reply within 5 s";

    std::string source = "127.0.0.2 127.0.0.1:" + std::to_string(client_.port()) + " ";
    const std::regex lines[] = {
        std::regex("([0-9]+) " + source + "1 55"),
        std::regex("([0-9]+) " + source + "2 01ab"),
        std::regex("([0-9]+) " + source + "8 aa00000000000000"),
    };
    std::istringstream text(ReadTextFile(log));
    std::string line;
    long long previousMs = 0;
    for (const std::regex& pattern : lines) {
        ASSERT_TRUE(std::getline(text, line)) << "log ends early:\n" << ReadTextFile(log);
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, pattern)) << "log line: " << line;
        long long ms = std::stoll(match[1]);
        EXPECT_GE(ms, previousMs);
        EXPECT_LT(ms, 60 * 1000);
        previousMs = ms;
    }
    EXPECT_FALSE(std::getline(text, line)) << "unexpected log line: " << line;
}

TEST_F(SimProtocolTest, SharesThePortWithAWildcardSocket)
{
    UniqueFd wildcard(socket(AF_INET, SOCK_DGRAM, 0));
    int on = 1;
    setsockopt(wildcard.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in any = {};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    any.sin_port = htons(static_cast<uint16_t>(port_));
    ASSERT_EQ(bind(wildcard.get(), reinterpret_cast<sockaddr*>(&any), sizeof any), 0);

    EXPECT_TRUE(StartSim({"--server", "127.0.0.2"}));
    client_.SendTo("127.0.0.2", port_, kProbe);
    std::vector<Datagram> replies = client_.Receive(1);
    ASSERT_EQ(replies.size(), 1u) << "presence reply within 5 s";
    EXPECT_EQ(replies[0].fromIp, "127.0.0.2");
}

TEST_F(SimProtocolTest, BindFailureNamesTheAddressAndExitsOne)
{
    // Without SO_REUSEADDR on this socket the simulator cannot share the port.
    UniqueFd holder(socket(AF_INET, SOCK_DGRAM, 0));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.3", &address.sin_addr);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    ASSERT_EQ(bind(holder.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    sim_.Spawn({"--server", "127.0.0.2", "--server", "127.0.0.3", "--port", std::to_string(port_),
                "--ready-file", sim_.File("ready")});
    int status = -1;
    ASSERT_TRUE(sim_.WaitExit(milliseconds(10000), &status));
    EXPECT_EQ(status, 1);
    EXPECT_NE(sim_.Stderr().find("127.0.0.3:" + std::to_string(port_)), std::string::npos) << sim_.Stderr();
    EXPECT_EQ(access(sim_.File("ready").c_str(), F_OK), -1) << "ready file written despite the failure";
}

}  // namespace
