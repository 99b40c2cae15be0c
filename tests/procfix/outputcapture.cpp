#include "outputcapture.h"

#include <cstdio>

std::string g_output;
std::vector<std::string> g_messages;

int CaptureOutput(const char* pszFormat, va_list args)
{
    char sz[1024];
    int nLength = vsnprintf(sz, sizeof(sz), pszFormat, args);
    g_output += sz;
    g_messages.push_back(sz);
    return nLength;
}
