#include "simprocess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const std::chrono::seconds kReadyDeadline(15);
const std::chrono::seconds kExitDeadline(10);

int DecodeStatus(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

std::string ReadTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

int FreePort(int type)
{
    int fd = socket(AF_INET, type, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = -1;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        close(fd);
    return port;
}

SimProcess::SimProcess()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "simtest.XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
        dir_ = pattern;
}

SimProcess::~SimProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!dir_.empty())
        std::filesystem::remove_all(dir_, ignored);
}

std::string SimProcess::File(const std::string& name) const
{
    return dir_ + "/" + name;
}

std::string SimProcess::Stdout() const
{
    return ReadTextFile(File("stdout"));
}

std::string SimProcess::Stderr() const
{
    return ReadTextFile(File("stderr"));
}

void SimProcess::Spawn(const Args& args)
{
    std::vector<std::string> all = {SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::string out = File("stdout");
    std::string err = File("stderr");

    pid_ = fork();
    if (pid_ == 0) {
        int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0)
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
}

::testing::AssertionResult SimProcess::Start(Args args)
{
    std::string ready = File("ready");
    args.push_back("--ready-file");
    args.push_back(ready);
    Spawn(args);
    if (pid_ < 0)
        return ::testing::AssertionFailure() << "fork failed";
    const auto deadline = std::chrono::steady_clock::now() + kReadyDeadline;
    while (std::chrono::steady_clock::now() < deadline) {
        std::string content = ReadTextFile(ready);
        if (!content.empty()) {
            if (content != std::to_string(pid_) + "\n")
                return ::testing::AssertionFailure()
                       << "ready file holds '" << content << "', expected pid " << pid_ << " and a newline";
            return ::testing::AssertionSuccess();
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return ::testing::AssertionFailure()
                   << "simulator exited with " << DecodeStatus(status) << " before it was ready; stderr:\n"
                   << Stderr();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ::testing::AssertionFailure()
           << "no ready file within " << kReadyDeadline.count() << " s; stderr:\n"
           << Stderr();
}

::testing::AssertionResult SimProcess::WaitExit(std::chrono::milliseconds limit, int* status)
{
    if (pid_ < 0)
        return ::testing::AssertionFailure() << "no simulator running";
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) {
            pid_ = -1;
            *status = DecodeStatus(raw);
            return ::testing::AssertionSuccess();
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return ::testing::AssertionFailure()
                   << "simulator did not exit within " << limit.count() << " ms";
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

::testing::AssertionResult SimProcess::Stop(int signal, int* status)
{
    if (pid_ < 0)
        return ::testing::AssertionFailure() << "no simulator running";
    kill(pid_, signal);
    return WaitExit(std::chrono::duration_cast<std::chrono::milliseconds>(kExitDeadline), status);
}
