#include "testsocket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstdio>

TestSocket::TestSocket()
{
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::perror("test socket on loopback");
        std::abort();
    }
    port_ = ntohs(address.sin_port);
}

TestSocket::~TestSocket()
{
    if (fd_ >= 0)
        close(fd_);
}

void TestSocket::SendTo(const std::string& ip, int port, const Bytes& bytes)
{
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    // Tests only ever talk to loopback.
    if (inet_pton(AF_INET, ip.c_str(), &to.sin_addr) != 1 || (ntohl(to.sin_addr.s_addr) >> 24) != 127) {
        std::fprintf(stderr, "refusing to send to %s: not a loopback address\n", ip.c_str());
        std::abort();
    }
    sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

bool TestSocket::ReceiveOne(std::chrono::steady_clock::time_point until, Datagram* datagram)
{
    for (;;) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() < 0)
            return false;
        pollfd fds = {fd_, POLLIN, 0};
        if (poll(&fds, 1, static_cast<int>(left.count())) <= 0)
            continue;
        uint8_t buffer[65536];
        sockaddr_in from = {};
        socklen_t size = sizeof from;
        ssize_t received =
            recvfrom(fd_, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &size);
        if (received < 0)
            continue;
        char ip[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &from.sin_addr, ip, sizeof ip);
        datagram->bytes.assign(buffer, buffer + received);
        datagram->fromIp = ip;
        datagram->fromPort = ntohs(from.sin_port);
        return true;
    }
}

std::vector<Datagram> TestSocket::Receive(size_t count, std::chrono::milliseconds deadline,
                                          std::chrono::milliseconds quiet)
{
    std::vector<Datagram> received;
    auto until = std::chrono::steady_clock::now() + deadline;
    Datagram datagram;
    while (received.size() < count && ReceiveOne(until, &datagram))
        received.push_back(datagram);
    if (quiet.count() > 0) {
        until = std::chrono::steady_clock::now() + quiet;
        while (ReceiveOne(until, &datagram))
            received.push_back(datagram);
    }
    return received;
}
