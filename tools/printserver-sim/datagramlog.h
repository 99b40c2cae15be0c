// The --log file: one line per received datagram, written at once.
#pragma once

#include "uniquefd.h"

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <string>

class DatagramLog {
public:
    // Opens the file for appending; without a call, Write does nothing.
    bool Open(const std::string& path, std::string* error);

    // <ms> <server> <source ip>:<source port> <length> <hex of all bytes>
    void Write(long long ms, const std::string& server, const sockaddr_in& from, const uint8_t* data,
               size_t size);

private:
    UniqueFd fd_;
};
