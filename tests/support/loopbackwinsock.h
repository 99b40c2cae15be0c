// The real Winsock, except that a datagram for the limited broadcast address
// is kept here instead of sent: tests on loopback never broadcast onto a
// real network. The probes are recorded as hex.
#pragma once

#include "spoolscope/net/winsockapi.h"

#include <string>
#include <vector>

class LoopbackWinsock {
public:
    LoopbackWinsock();
    ~LoopbackWinsock();

    static std::vector<std::string>& Broadcasts();
};
