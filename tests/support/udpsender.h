// A plain UDP socket of a test that sends datagrams to the monitor's port on
// loopback, and status tables to send with it.
#pragma once

#include "afx/winheaders.h"

#include <string>
#include <vector>

class UdpSender {
public:
    UdpSender();
    ~UdpSender();
    // Sends bytes to 127.0.0.1:60000; false when not all were sent.
    bool Send(const std::string& bytes);

private:
    SOCKET m_hSocket;
};

// A 992-byte status table with the given names in slots 0 onwards.
std::string StatusTable(const std::vector<std::string>& names);
