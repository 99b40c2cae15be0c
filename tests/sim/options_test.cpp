// Command-line and config-file input: bad input exits 2 with a message that
// names the problem; a config file means the same as the options.
#include "simprocess.h"
#include "testsocket.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <fstream>

namespace {

const std::chrono::milliseconds kExitDeadline(10000);

struct BadInput {
    SimProcess::Args args;
    std::string message;
};

std::ostream& operator<<(std::ostream& out, const BadInput& c)
{
    if (c.args.empty())
        return out << "no arguments";
    for (const std::string& arg : c.args)
        out << (arg.size() > 20 ? arg.substr(0, 20) + "..." : arg) << ' ';
    return out;
}

SimProcess::Args NinePrinters()
{
    SimProcess::Args args = {"--server", "127.0.0.2"};
    for (int i = 1; i <= 9; ++i)
        args.insert(args.end(), {"--printer", "P" + std::to_string(i)});
    return args;
}

class SimBadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(SimBadInputTest, ExitsTwoNamingTheProblem)
{
    SimProcess sim;
    SimProcess::Args args = {"--port", std::to_string(FreePort(SOCK_DGRAM))};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    sim.Spawn(args);
    int status = -1;
    ASSERT_TRUE(sim.WaitExit(kExitDeadline, &status));
    EXPECT_EQ(status, 2);
    EXPECT_NE(sim.Stderr().find(GetParam().message), std::string::npos) << "stderr: " << sim.Stderr();
    EXPECT_EQ(sim.Stdout(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Options, SimBadInputTest,
    ::testing::Values(
        BadInput{{"--printer", "LASER"}, "'LASER' needs a preceding --server"},
        BadInput{{"--server", "127.0.0.2", "--printer", std::string(96, 'x')}, "longer than 95"},
        BadInput{NinePrinters(), "more than 8 printers"},
        BadInput{{"--server", "127.0.0.2", "--printer", ",ip=1.2.3.4"}, "name is empty"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,ip=1.2.3"}, "ip='1.2.3'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,ip=1.2.3.256"}, "ip='1.2.3.256'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,state=256"}, "state='256'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,type=-1"}, "type='-1'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,percent=12abc"}, "percent='12abc'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,jobs=0x80000000"}, "jobs='0x80000000'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,jobs=0x"}, "jobs='0x'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,color=red"}, "unknown key 'color'"},
        BadInput{{"--server", "127.0.0.2", "--printer", "P,jobs"}, "'jobs' is not KEY=VALUE"},
        BadInput{{"--server", "printhost"}, "'printhost' is not an IPv4 address"},
        BadInput{{"--server", "127.0.0.2,loud"}, "unknown flag 'loud'"},
        BadInput{{"--server", "127.0.0.2,length=65508"}, "length=65508"},
        BadInput{{"--server", "127.0.0.2", "--server", "127.0.0.2"}, "127.0.0.2 is given twice"},
        BadInput{{"--server", "127.0.0.2", "--announce", "127.0.0.1"}, "--announce '127.0.0.1'"},
        BadInput{{"--server", "127.0.0.2", "--interval", "0"}, "--interval '0'"},
        BadInput{{"--server", "127.0.0.2", "--lifetime"}, "--lifetime needs a value"},
        BadInput{{"--server", "127.0.0.2", "--colour"}, "unknown option '--colour'"},
        BadInput{{"--server", "127.0.0.2", "--config", "/nonexistent/sim.conf"}, "/nonexistent/sim.conf"},
        BadInput{{}, "no server"}));

struct BadConfig {
    const char* content;
    const char* message;
};

std::ostream& operator<<(std::ostream& out, const BadConfig& c)
{
    return out << "config '" << c.content << "'";
}

class SimBadConfigTest : public ::testing::TestWithParam<BadConfig> {};

TEST_P(SimBadConfigTest, ExitsTwoNamingFileAndLine)
{
    SimProcess sim;
    std::string config = sim.File("sim.conf");
    std::ofstream(config) << GetParam().content;
    sim.Spawn({"--config", config});
    int status = -1;
    ASSERT_TRUE(sim.WaitExit(kExitDeadline, &status));
    EXPECT_EQ(status, 2);
    EXPECT_NE(sim.Stderr().find(config + ":" + GetParam().message), std::string::npos) << sim.Stderr();
}

INSTANTIATE_TEST_SUITE_P(
    Config, SimBadConfigTest,
    ::testing::Values(BadConfig{"server 127.0.0.2\nprinter A\nprinter B,state=999\n",
                                "3: printer 'B': state="},
                      BadConfig{"# no server yet\nprinter A\n", "2: printer 'A' needs a preceding --server"},
                      BadConfig{"server 127.0.0.2\n\nprinters A\n", "3: unknown keyword 'printers'"}));

TEST(SimConfigTest, ConfigLinesMeanTheSameAsOptions)
{
    SimProcess sim;
    int port = FreePort(SOCK_DGRAM);
    std::string config = sim.File("sim.conf");
    std::ofstream(config) << "# two servers\n"
                             "server 127.0.0.2,double\n"
                             "\n"
                             "printer CFG A,ip=10.1.2.3,state=0xA8\r\n"
                             "   # indented comment\n"
                             "  printer CFG-B  \n"
                             "server 127.0.0.3\n"
                             "printer CFG-C,jobs=4\n";
    // A printer option after the config belongs to the config's last server.
    ASSERT_TRUE(
        sim.Start({"--config", config, "--printer", "CMD-D", "--port", std::to_string(port), "--quiet"}));

    TestSocket client;
    client.SendTo("127.0.0.2", port, kQuery);
    std::vector<Datagram> two = client.Receive(2);
    ASSERT_EQ(two.size(), 2u) << "two tables from the double server within 5 s";
    const Bytes& table = two[0].bytes;
    ASSERT_EQ(table.size(), 992u);
    EXPECT_EQ(std::string(table.begin(), table.begin() + 7), std::string("CFG A\0\0", 7));
    EXPECT_EQ(Bytes(table.begin() + 96, table.begin() + 102), Bytes({10, 1, 2, 3, 0, 0xA8}));
    EXPECT_EQ(std::string(table.begin() + 124, table.begin() + 130), std::string("CFG-B\0", 6));
    EXPECT_EQ(table[248], 0) << "slot 2 is empty";

    client.SendTo("127.0.0.3", port, kQuery);
    std::vector<Datagram> three = client.Receive(1);
    ASSERT_EQ(three.size(), 1u) << "table from 127.0.0.3 within 5 s";
    ASSERT_EQ(three[0].bytes.size(), 992u);
    EXPECT_EQ(std::string(three[0].bytes.begin(), three[0].bytes.begin() + 6), std::string("CFG-C\0", 6));
    EXPECT_EQ(three[0].bytes[116], 4);
    EXPECT_EQ(std::string(three[0].bytes.begin() + 124, three[0].bytes.begin() + 130),
              std::string("CMD-D\0", 6));
}

}  // namespace
