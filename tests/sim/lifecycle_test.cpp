// How the simulator starts and ends: the summary, pid and ready files, signals,
// the lifetime and the parent's end.
#include "simprocess.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <thread>

namespace {

using std::chrono::milliseconds;

class SimSignalTest : public ::testing::TestWithParam<int> {};

TEST_P(SimSignalTest, ExitsZeroAndRemovesThePidFile)
{
    SimProcess sim;
    int port = FreePort(SOCK_DGRAM);
    std::string pidFile = sim.File("sim.pid");
    ASSERT_TRUE(sim.Start({"--server", "127.0.0.2", "--printer", "A", "--server", "127.0.0.3,double",
                           "--port", std::to_string(port), "--pidfile", pidFile}));
    EXPECT_EQ(ReadTextFile(pidFile), std::to_string(sim.pid()) + "\n");
    std::string p = std::to_string(port);
    EXPECT_EQ(sim.Stdout(),
              "server 127.0.0.2:" + p + ": 1 printer\nserver 127.0.0.3:" + p + ": 0 printers (double)\n");

    int status = -1;
    ASSERT_TRUE(sim.Stop(GetParam(), &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(access(pidFile.c_str(), F_OK), -1) << "pid file left behind";
}

INSTANTIATE_TEST_SUITE_P(Signals, SimSignalTest, ::testing::Values(SIGTERM, SIGINT));

TEST(SimLifetimeTest, ExitsZeroAfterTheLifetime)
{
    SimProcess sim;
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(sim.Start({"--server", "127.0.0.2", "--port", std::to_string(FreePort(SOCK_DGRAM)), "--quiet",
                           "--lifetime", "1"}));
    int status = -1;
    ASSERT_TRUE(sim.WaitExit(milliseconds(10000), &status)) << "waiting for the end of a 1 s lifetime";
    EXPECT_EQ(status, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(950));
    EXPECT_EQ(sim.Stdout(), "");
}

TEST(SimParentTest, ExitsWhenItsParentGoesAway)
{
    // The simulator's parent is an intermediate process that exits once the
    // simulator is ready. As subreaper this test then inherits the orphan and
    // can wait for it.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    SimProcess files;
    std::string ready = files.File("ready");
    std::string pidFile = files.File("sim.pid");
    std::vector<std::string> all = {
        SIM_PATH,  "--server",           "127.0.0.2", "--port", std::to_string(FreePort(SOCK_DGRAM)),
        "--quiet", "--exit-with-parent", "--pidfile", pidFile,  "--ready-file",
        ready};
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        if (fork() == 0) {
            execv(argv[0], argv.data());
            _exit(127);
        }
        const timespec tick = {0, 10 * 1000 * 1000};
        for (int i = 0; i < 1500 && access(ready.c_str(), F_OK) != 0; ++i)
            nanosleep(&tick, nullptr);
        _exit(0);
    }
    int parentStatus = -1;
    ASSERT_EQ(waitpid(parent, &parentStatus, 0), parent);
    std::string pidText = ReadTextFile(ready);
    ASSERT_FALSE(pidText.empty()) << "the simulator was not ready within 15 s";
    pid_t simulator = static_cast<pid_t>(std::stol(pidText));

    int status = -1;
    pid_t reaped = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((reaped = waitpid(simulator, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(10));
    if (reaped != simulator) {
        kill(simulator, SIGKILL);
        waitpid(simulator, nullptr, 0);
        FAIL() << "the simulator still ran 10 s after its parent exited";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    EXPECT_EQ(access(pidFile.c_str(), F_OK), -1) << "pid file left behind";
}

}  // namespace
