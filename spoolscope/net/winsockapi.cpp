#include "spoolscope/net/winsockapi.h"

const WinsockApi& RealWinsock()
{
    static const WinsockApi api = {
        ::WSAStartup, ::socket, ::setsockopt, ::bind,        ::WSAAsyncSelect,
        ::recvfrom,   ::sendto, ::shutdown,   ::closesocket, ::listen,
        ::connect,    ::accept, ::recv,       ::send,        ::gethostbyname,
    };
    return api;
}

static const WinsockApi* s_pApi = nullptr;

const WinsockApi& Winsock()
{
    return s_pApi != nullptr ? *s_pApi : RealWinsock();
}

const WinsockApi* SetWinsockApi(const WinsockApi* pApi)
{
    const WinsockApi* pOld = s_pApi;
    s_pApi = pApi;
    return pOld;
}
