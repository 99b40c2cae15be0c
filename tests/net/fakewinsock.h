// A stand-in Winsock for tests that must see the exact arguments of each
// call: it records every call as text and answers as the test sets it up.
#pragma once

#include "spoolscope/net/winsockapi.h"

#include <string>
#include <vector>

struct FakeWinsock {
    std::vector<std::string> calls;
    int nStartupResult = 0;
    SOCKET hSocketResult = 100;
    int nSetsockoptResult = 0;
    int nBindResult = 0;
    int nSelectResult = 0;
    int nRecvfromResult = 0;
    int nSendtoResult = 0;
    int nShutdownResult = 0;
    int nCloseResult = 0;  // for a valid handle; INVALID_SOCKET always gives -1
    SOCKET hAcceptResult = 200;
    hostent* pHost = nullptr;

    // Installs this stand-in for the lifetime of the object.
    FakeWinsock();
    ~FakeWinsock();

    static FakeWinsock* Current();
    static std::string Address(const sockaddr* pAddr, int nLength);
};
