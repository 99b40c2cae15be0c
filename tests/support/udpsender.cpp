#include "support/udpsender.h"

#include <cstring>

UdpSender::UdpSender() : m_hSocket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {}

UdpSender::~UdpSender()
{
    ::closesocket(m_hSocket);
}

bool UdpSender::Send(const std::string& bytes)
{
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr("127.0.0.1");
    to.sin_port = htons(60000);
    return ::sendto(m_hSocket, bytes.data(), static_cast<int>(bytes.size()), 0,
                    reinterpret_cast<sockaddr*>(&to), sizeof(to)) == static_cast<int>(bytes.size());
}

std::string StatusTable(const std::vector<std::string>& names)
{
    std::string table(992, '\0');
    for (size_t i = 0; i < names.size() && i < 8; ++i)
        memcpy(&table[124 * i], names[i].data(), std::min<size_t>(names[i].size(), 95));
    return table;
}
