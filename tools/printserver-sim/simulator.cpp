#include "simulator.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline, Clock::time_point now)
{
    if (deadline <= now)
        return 0;
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now).count();
    return static_cast<int>(std::min<long long>((us + 999) / 1000, 60 * 1000));
}

}  // namespace

Simulator::Simulator(const Options& options, Clock::time_point start)
    : options_(options), start_(start), files_(options.pidFile, options.readyFile)
{
}

int Simulator::Run()
{
    std::string error;
    bool started = Start(&error);
    if (started)
        Loop();
    else
        std::fprintf(stderr, "printserver-sim: %s\n", error.c_str());
    files_.End();
    return started ? 0 : 1;
}

bool Simulator::Start(std::string* error)
{
    parent_ = ::getppid();
    ::signal(SIGPIPE, SIG_IGN);
    // SIGTERM and SIGINT arrive through a descriptor that poll() watches.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    signals_.reset(::signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!signals_.valid()) {
        *error = std::string("cannot watch signals: ") + std::strerror(errno);
        return false;
    }

    if (!files_.Begin(error))
        return false;
    if (!options_.logFile.empty() && !log_.Open(options_.logFile, error))
        return false;
    for (const ServerConfig& config : options_.servers) {
        servers_.push_back(std::make_unique<SimServer>(config, options_.animate));
        if (!servers_.back()->Bind(options_.port, options_.httpPort, error))
            return false;
    }
    if (!options_.quiet) {
        for (const auto& server : servers_)
            std::printf("%s\n", server->Summary(options_.port).c_str());
        std::fflush(stdout);
    }
    return files_.Ready(error);
}

bool Simulator::StopRequested()
{
    signalfd_siginfo info;
    ssize_t size = ::read(signals_.get(), &info, sizeof info);
    return size == static_cast<ssize_t>(sizeof info);
}

void Simulator::AcceptAll(size_t server, Clock::time_point now)
{
    for (;;) {
        UniqueFd fd = servers_[server]->Accept();
        if (!fd.valid())
            return;
        connections_.push_back(std::make_unique<HttpConnection>(std::move(fd), server, now));
    }
}

void Simulator::Loop()
{
    const Clock::time_point never = Clock::time_point::max();
    Clock::time_point now = Clock::now();
    const Clock::time_point end =
        options_.lifetimeSeconds > 0 ? now + std::chrono::seconds(options_.lifetimeSeconds) : never;
    const auto interval = std::chrono::milliseconds(options_.intervalMs);
    const auto animateStep = std::chrono::milliseconds(kAnimateMs);
    const auto parentStep = std::chrono::milliseconds(kParentCheckMs);
    Clock::time_point nextAnnounce = options_.announce ? now : never;
    Clock::time_point nextAnimate = options_.animate ? now + animateStep : never;
    Clock::time_point nextParentCheck = options_.exitWithParent ? now + parentStep : never;

    std::vector<pollfd> fds;
    for (;;) {
        now = Clock::now();
        if (now >= end)
            return;
        if (now >= nextParentCheck) {
            if (::getppid() != parent_)
                return;
            nextParentCheck = now + parentStep;
        }
        if (now >= nextAnnounce) {
            for (const auto& server : servers_)
                server->Announce(options_.announceTo);
            nextAnnounce = std::max(nextAnnounce + interval, now);
        }
        if (now >= nextAnimate) {
            for (const auto& server : servers_)
                server->Animate();
            nextAnimate = std::max(nextAnimate + animateStep, now);
        }
        connections_.erase(std::remove_if(connections_.begin(), connections_.end(),
                                          [now](const std::unique_ptr<HttpConnection>& connection) {
                                              return connection->deadline() <= now;
                                          }),
                           connections_.end());

        Clock::time_point wake = std::min({end, nextParentCheck, nextAnnounce, nextAnimate});
        for (const auto& connection : connections_)
            wake = std::min(wake, connection->deadline());

        // Layout: the signal descriptor, then UDP and listener per server, then connections.
        fds.clear();
        fds.push_back({signals_.get(), POLLIN, 0});
        for (const auto& server : servers_) {
            fds.push_back({server->udpFd(), POLLIN, 0});
            fds.push_back({server->httpFd(), POLLIN, 0});  // -1 is skipped by poll()
        }
        for (const auto& connection : connections_)
            fds.push_back({connection->fd(), POLLIN, 0});

        int timeout = wake == never ? -1 : MillisecondsUntil(wake, now);
        int ready = ::poll(fds.data(), fds.size(), timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "printserver-sim: poll failed: %s\n", std::strerror(errno));
            return;
        }
        if (ready == 0)
            continue;
        if (fds[0].revents != 0 && StopRequested())
            return;
        now = Clock::now();
        for (size_t i = 0; i < servers_.size(); ++i) {
            if (fds[1 + 2 * i].revents != 0)
                servers_[i]->ReceiveAll(&log_, start_, options_.quiet);
            if (fds[2 + 2 * i].revents != 0)
                AcceptAll(i, now);
        }
        // Connections accepted just now come after the polled ones and wait for the next round.
        size_t first = 1 + 2 * servers_.size();
        std::vector<bool> finished(connections_.size(), false);
        for (size_t i = 0; first + i < fds.size(); ++i) {
            if (fds[first + i].revents == 0)
                continue;
            const SimServer& server = *servers_[connections_[i]->server()];
            finished[i] = !connections_[i]->OnReadable([&server] { return server.StatusPage(); }, now);
        }
        for (size_t i = connections_.size(); i-- > 0;) {
            if (finished[i])
                connections_.erase(connections_.begin() + static_cast<long>(i));
        }
    }
}
