// The flood itself: one UDP socket whose datagrams carry a chosen loopback
// source address each (IP_PKTINFO), so that presence replies seem to come
// from thousands of print servers.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct FloodOptions {
    unsigned long nCount = 200000;
    unsigned nSeconds = 0;
    unsigned nSeed = 1;
    unsigned nRepliesPerMille = 10;
    unsigned nTablesPerMille = 10;
    unsigned nSources = 5000;
    unsigned nMaxLength = 1500;
    bool bFullTables = false;  // every slot of a table holds a named printer
};

struct FloodCounts {
    unsigned long long nSent = 0;
    unsigned long long nReplies = 0;
    unsigned long long nTables = 0;
    unsigned long long nRefused = 0;  // the socket said no (a full buffer)
    double seconds = 0;
};

class FloodSender {
public:
    explicit FloodSender(const FloodOptions& options);
    ~FloodSender();
    FloodSender(const FloodSender&) = delete;
    FloodSender& operator=(const FloodSender&) = delete;

    // Parses HOST:PORT (dotted IPv4) and opens the socket.
    bool Open(const std::string& to, std::string* pError);
    bool Run(FloodCounts* pCounts, std::string* pError);

private:
    void FillRandom(std::vector<uint8_t>* pData, size_t nLength);
    void FillTable(std::vector<uint8_t>* pData);
    // Sends from source (network order; 0: the socket's own address).
    bool Send(const std::vector<uint8_t>& data, in_addr_t source, std::string* pError, bool* pRefused);

    FloodOptions m_options;
    std::mt19937 m_random;
    int m_fd = -1;
    sockaddr_in m_to = {};
    unsigned long m_nTable = 0;
};
