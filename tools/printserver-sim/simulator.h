// Runs the servers: one thread, one poll() loop, timers for announcing,
// animating, the lifetime and the parent check.
#pragma once

#include "datagramlog.h"
#include "httpconnection.h"
#include "options.h"
#include "processfiles.h"
#include "simserver.h"
#include "uniquefd.h"

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <vector>

class Simulator {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kAnimateMs = 1000;
    static constexpr int kParentCheckMs = 100;

    Simulator(const Options& options, Clock::time_point start);

    // Returns the exit code: 0 after a signal, the lifetime or the parent's
    // end; 1 if starting fails.
    int Run();

private:
    bool Start(std::string* error);
    void Loop();
    bool StopRequested();
    void AcceptAll(size_t server, Clock::time_point now);

    const Options& options_;
    Clock::time_point start_;
    ProcessFiles files_;
    DatagramLog log_;
    UniqueFd signals_;
    pid_t parent_ = 0;
    std::vector<std::unique_ptr<SimServer>> servers_;
    std::vector<std::unique_ptr<HttpConnection>> connections_;
};
