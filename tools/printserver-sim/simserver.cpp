#include "simserver.h"

#include "httppage.h"
#include "statustable.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Datagrams read per call, so that one busy server cannot starve the others.
const int kMaxReadsPerCall = 64;

std::string FormatEndpoint(const sockaddr_in& address)
{
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

UniqueFd BoundSocket(int type, const in_addr& address, int port, std::string* error)
{
    const char* kind = type == SOCK_DGRAM ? "UDP" : "TCP";
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, text, sizeof text);
    std::string endpoint = std::string(kind) + " " + text + ":" + std::to_string(port);

    UniqueFd fd(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        *error = "cannot create a socket for " + endpoint + ": " + std::strerror(errno);
        return fd;
    }
    // Lets the server share the port with a socket bound to 0.0.0.0 by another process.
    int on = 1;
    if (setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        *error = "cannot set SO_REUSEADDR on " + endpoint + ": " + std::strerror(errno);
        return UniqueFd();
    }
    sockaddr_in bound = {};
    bound.sin_family = AF_INET;
    bound.sin_addr = address;
    bound.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&bound), sizeof bound) != 0) {
        *error = "cannot bind " + endpoint + ": " + std::strerror(errno);
        return UniqueFd();
    }
    if (type == SOCK_STREAM && ::listen(fd.get(), 16) != 0) {
        *error = "cannot listen on " + endpoint + ": " + std::strerror(errno);
        return UniqueFd();
    }
    return fd;
}

}  // namespace

SimServer::SimServer(const ServerConfig& config, bool animate) : config_(config)
{
    if (!animate)
        return;
    for (PrinterConfig& printer : config_.printers) {
        animators_.emplace_back(printer);
        animators_.back().Start(&printer);
    }
}

bool SimServer::Bind(int port, int httpPort, std::string* error)
{
    udp_ = BoundSocket(SOCK_DGRAM, config_.inAddress, port, error);
    if (!udp_.valid())
        return false;
    if (httpPort != 0) {
        http_ = BoundSocket(SOCK_STREAM, config_.inAddress, httpPort, error);
        if (!http_.valid())
            return false;
    }
    return true;
}

std::string SimServer::Summary(int port) const
{
    size_t count = config_.printers.size();
    std::string line = "server " + config_.address + ":" + std::to_string(port) + ": " +
                       std::to_string(count) + (count == 1 ? " printer" : " printers");
    std::string flags = config_.FlagText();
    if (!flags.empty())
        line += " (" + flags + ")";
    return line;
}

void SimServer::ReceiveAll(DatagramLog* log, Clock::time_point start, bool quiet)
{
    static uint8_t buffer[65536];
    for (int reads = 0; reads < kMaxReadsPerCall; ++reads) {
        sockaddr_in from = {};
        socklen_t fromSize = sizeof from;
        ssize_t size = ::recvfrom(udp_.get(), buffer, sizeof buffer, MSG_DONTWAIT,
                                  reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (size < 0 && errno == EINTR)
            continue;
        if (size < 0)
            return;
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        // Logged before the reply goes out: whoever holds the reply finds the line.
        log->Write(ms, config_.address, from, buffer, static_cast<size_t>(size));
        Handle(buffer, static_cast<size_t>(size), from, quiet);
    }
}

void SimServer::Handle(const uint8_t* data, size_t size, const sockaddr_in& from, bool quiet)
{
    if (size == kProbeSize && data[0] == kProbe) {
        if (config_.silent || config_.noProbe)
            return;
        const uint8_t presence = kPresence;
        Send(&presence, 1, from);
        if (config_.probeTwice)
            Send(&presence, 1, from);
    } else if (size == 1 && data[0] == kQuery) {
        if (config_.silent || config_.noQuery)
            return;
        std::vector<uint8_t> table = BuildTable();
        Send(table.data(), table.size(), from);
        if (config_.doubleTable)
            Send(table.data(), table.size(), from);
    } else if (!quiet) {
        std::fprintf(stderr, "printserver-sim: %s: ignored a %zu-byte datagram from %s\n",
                     config_.address.c_str(), size, FormatEndpoint(from).c_str());
    }
}

std::vector<uint8_t> SimServer::BuildTable() const
{
    std::vector<uint8_t> table = statustable::Encode(config_.printers);
    if (config_.longName)
        statustable::MakeUnterminated(table.data());
    if (config_.tableLength >= 0)
        table.resize(static_cast<size_t>(config_.tableLength), 0);
    return table;
}

void SimServer::Send(const uint8_t* data, size_t size, const sockaddr_in& to)
{
    ssize_t sent = ::sendto(udp_.get(), data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent < 0) {
        std::fprintf(stderr, "printserver-sim: %s: cannot send %zu bytes to %s: %s\n",
                     config_.address.c_str(), size, FormatEndpoint(to).c_str(), std::strerror(errno));
    }
}

void SimServer::Announce(const sockaddr_in& to)
{
    if (config_.silent)
        return;
    const uint8_t presence = kPresence;
    Send(&presence, 1, to);
}

void SimServer::Animate()
{
    for (size_t i = 0; i < animators_.size(); ++i)
        animators_[i].Tick(&config_.printers[i]);
}

UniqueFd SimServer::Accept()
{
    return UniqueFd(::accept4(http_.get(), nullptr, nullptr, SOCK_CLOEXEC));
}

std::string SimServer::StatusPage() const
{
    return httppage::StatusPage(config_.address, config_.printers);
}
