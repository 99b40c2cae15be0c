// The Winsock functions the socket wrapper calls, as a table of function
// pointers: the real ones, or a test's stand-ins.
#pragma once

#include "afx/winheaders.h"

struct WinsockApi {
    decltype(&::WSAStartup) WSAStartup;
    decltype(&::socket) socket;
    decltype(&::setsockopt) setsockopt;
    decltype(&::bind) bind;
    decltype(&::WSAAsyncSelect) WSAAsyncSelect;
    decltype(&::recvfrom) recvfrom;
    decltype(&::sendto) sendto;
    decltype(&::shutdown) shutdown;
    decltype(&::closesocket) closesocket;
    decltype(&::listen) listen;
    decltype(&::connect) connect;
    decltype(&::accept) accept;
    decltype(&::recv) recv;
    decltype(&::send) send;
    decltype(&::gethostbyname) gethostbyname;
};

// The table in use.
const WinsockApi& Winsock();
// Replaces the table (nullptr: the real Winsock); returns the previous one.
const WinsockApi* SetWinsockApi(const WinsockApi* pApi);
const WinsockApi& RealWinsock();
