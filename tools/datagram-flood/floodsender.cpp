#include "floodsender.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const size_t kRecordLength = 124;
const size_t kTableLength = 8 * kRecordLength;
const uint8_t kReplyByte = 0x55;

}  // namespace

FloodSender::FloodSender(const FloodOptions& options) : m_options(options), m_random(options.nSeed) {}

FloodSender::~FloodSender()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool FloodSender::Open(const std::string& to, std::string* pError)
{
    size_t colon = to.rfind(':');
    std::string host = to.substr(0, colon);
    char* pEnd = nullptr;
    long nPort = colon == std::string::npos ? 0 : strtol(to.c_str() + colon + 1, &pEnd, 10);
    if (pEnd != nullptr && *pEnd != '\0')
        nPort = 0;
    m_to.sin_family = AF_INET;
    m_to.sin_port = htons(static_cast<uint16_t>(nPort));
    if (nPort <= 0 || nPort > 65535 || inet_pton(AF_INET, host.c_str(), &m_to.sin_addr) != 1) {
        *pError = "bad destination: " + to;
        return false;
    }
    m_fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (m_fd < 0) {
        *pError = std::string("socket: ") + strerror(errno);
        return false;
    }
    return true;
}

void FloodSender::FillRandom(std::vector<uint8_t>* pData, size_t nLength)
{
    pData->resize(nLength);
    for (size_t i = 0; i < nLength; i += 4) {
        uint32_t word = m_random();
        memcpy(pData->data() + i, &word, nLength - i < 4 ? nLength - i : 4);
    }
}

// Eight records of random fields, each slot either empty or named
// "Flood<n>" with a terminator; some names run on without one.
void FloodSender::FillTable(std::vector<uint8_t>* pData)
{
    FillRandom(pData, kTableLength);
    for (size_t nSlot = 0; nSlot < 8; ++nSlot) {
        uint8_t* pRecord = pData->data() + nSlot * kRecordLength;
        unsigned nKind = m_options.bFullTables ? 2 : m_random() % 8;
        if (nKind == 0) {
            pRecord[0] = 0;
        } else if (nKind != 1) {
            char szName[32];
            int nLength =
                snprintf(szName, sizeof(szName), "Flood%zu", static_cast<size_t>(m_nTable * 8 + nSlot));
            memcpy(pRecord, szName, static_cast<size_t>(nLength) + 1);
        } else if (pRecord[0] == 0) {
            pRecord[0] = 'X';
        }
    }
    ++m_nTable;
}

bool FloodSender::Send(const std::vector<uint8_t>& data, in_addr_t source, std::string* pError,
                       bool* pRefused)
{
    iovec iov = {const_cast<uint8_t*>(data.data()), data.size()};
    msghdr msg = {};
    msg.msg_name = &m_to;
    msg.msg_namelen = sizeof(m_to);
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (source != 0) {
        msg.msg_control = control;
        msg.msg_controllen = sizeof(control);
        cmsghdr* pHeader = CMSG_FIRSTHDR(&msg);
        pHeader->cmsg_level = IPPROTO_IP;
        pHeader->cmsg_type = IP_PKTINFO;
        pHeader->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info = {};
        info.ipi_spec_dst.s_addr = source;
        memcpy(CMSG_DATA(pHeader), &info, sizeof(info));
    }
    *pRefused = false;
    if (sendmsg(m_fd, &msg, 0) >= 0)
        return true;
    if (errno == ENOBUFS || errno == EAGAIN || errno == ECONNREFUSED) {
        *pRefused = true;
        return true;
    }
    *pError = std::string("sendmsg: ") + strerror(errno);
    return false;
}

bool FloodSender::Run(FloodCounts* pCounts, std::string* pError)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    std::vector<uint8_t> data;
    for (;;) {
        // The clock is read once every 1,024 datagrams.
        if (pCounts->nSent >= m_options.nCount && pCounts->nSent % 1024 == 0 &&
            elapsed() >= m_options.nSeconds)
            break;
        unsigned nRoll = m_random() % 1000;
        in_addr_t source = 0;
        if (nRoll < m_options.nRepliesPerMille) {
            data.assign(1, kReplyByte);
            unsigned nSource = m_random() % m_options.nSources;
            source = htonl((127u << 24) | (1u << 16) | ((nSource / 254) << 8) | (nSource % 254 + 1));
            ++pCounts->nReplies;
        } else if (nRoll < m_options.nRepliesPerMille + m_options.nTablesPerMille) {
            FillTable(&data);
            ++pCounts->nTables;
        } else {
            FillRandom(&data, m_random() % (m_options.nMaxLength + 1));
        }
        bool bRefused = false;
        if (!Send(data, source, pError, &bRefused))
            return false;
        pCounts->nRefused += bRefused ? 1 : 0;
        ++pCounts->nSent;
    }
    pCounts->seconds = elapsed();
    return true;
}
