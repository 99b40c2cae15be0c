// One simulated print server: its UDP socket, its printers and, with --http,
// its status page listener.
#pragma once

#include "datagramlog.h"
#include "printeranimator.h"
#include "serverconfig.h"
#include "uniquefd.h"

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class SimServer {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr uint8_t kProbe = 0xAA;
    static constexpr size_t kProbeSize = 8;
    static constexpr uint8_t kPresence = 0x55;
    static constexpr uint8_t kQuery = 0x55;

    SimServer(const ServerConfig& config, bool animate);

    // Binds the UDP socket to the server's address and port and, if httpPort
    // is not 0, a listening TCP socket to the address and httpPort.
    bool Bind(int port, int httpPort, std::string* error);

    int udpFd() const { return udp_.get(); }
    int httpFd() const { return http_.get(); }
    const std::string& address() const { return config_.address; }
    std::string Summary(int port) const;

    // Reads the waiting datagrams, logs each and answers those it should.
    void ReceiveAll(DatagramLog* log, Clock::time_point start, bool quiet);

    // Sends an unsolicited presence reply; silent servers send nothing.
    void Announce(const sockaddr_in& to);

    // One second of --animate.
    void Animate();

    // Accepts a waiting page connection; invalid if none.
    UniqueFd Accept();

    std::string StatusPage() const;

private:
    void Handle(const uint8_t* data, size_t size, const sockaddr_in& from, bool quiet);
    std::vector<uint8_t> BuildTable() const;
    void Send(const uint8_t* data, size_t size, const sockaddr_in& to);

    ServerConfig config_;
    std::vector<PrinterAnimator> animators_;
    UniqueFd udp_;
    UniqueFd http_;
};
