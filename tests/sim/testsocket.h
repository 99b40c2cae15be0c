// A UDP socket on 127.0.0.1 that talks to the simulator; sends only to 127.0.0.0/8.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Datagram {
    Bytes bytes;
    std::string fromIp;
    int fromPort = 0;
};

class TestSocket {
public:
    TestSocket();
    ~TestSocket();
    TestSocket(const TestSocket&) = delete;
    TestSocket& operator=(const TestSocket&) = delete;

    int port() const { return port_; }
    void SendTo(const std::string& ip, int port, const Bytes& bytes);

    // Waits until `count` datagrams arrived or `deadline` passed, then keeps
    // listening for `quiet` more so that surplus replies show up too.
    std::vector<Datagram> Receive(size_t count, std::chrono::milliseconds deadline = std::chrono::seconds(5),
                                  std::chrono::milliseconds quiet = std::chrono::milliseconds(0));

private:
    bool ReceiveOne(std::chrono::steady_clock::time_point until, Datagram* datagram);

    int fd_ = -1;
    int port_ = 0;
};

const Bytes kProbe = {0xAA, 0, 0, 0, 0, 0, 0, 0};
const Bytes kQuery = {0x55};
const Bytes kPresence = {0x55};
