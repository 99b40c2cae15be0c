#include "support/loopbackwinsock.h"

#include <cstdio>

namespace {

int WSAAPI SendToLoopbackOnly(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen)
{
    const sockaddr_in* p = reinterpret_cast<const sockaddr_in*>(to);
    if (to != nullptr && tolen >= static_cast<int>(sizeof(sockaddr_in)) &&
        p->sin_addr.s_addr == INADDR_BROADCAST) {
        std::string hex;
        for (int i = 0; i < len; ++i) {
            char byte[4];
            snprintf(byte, sizeof(byte), "%02x", static_cast<unsigned char>(buf[i]));
            hex += byte;
        }
        LoopbackWinsock::Broadcasts().push_back(hex + " to port " + std::to_string(ntohs(p->sin_port)));
        return len;
    }
    return RealWinsock().sendto(s, buf, len, flags, to, tolen);
}

WinsockApi MakeApi()
{
    WinsockApi api = RealWinsock();
    api.sendto = SendToLoopbackOnly;
    return api;
}

}  // namespace

LoopbackWinsock::LoopbackWinsock()
{
    static const WinsockApi api = MakeApi();
    Broadcasts().clear();
    SetWinsockApi(&api);
}

LoopbackWinsock::~LoopbackWinsock()
{
    SetWinsockApi(nullptr);
}

std::vector<std::string>& LoopbackWinsock::Broadcasts()
{
    static std::vector<std::string> broadcasts;
    return broadcasts;
}
