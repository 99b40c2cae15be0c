#include "afx/trace.h"

#include "afx/winheaders.h"

#include <cstdarg>
#include <cstdio>
#include <string>

static AFX_TRACE_HOOK s_pTraceHook = nullptr;

AFX_TRACE_HOOK AfxSetTraceHook(AFX_TRACE_HOOK pHook)
{
    AFX_TRACE_HOOK pOld = s_pTraceHook;
    s_pTraceHook = pHook;
    return pOld;
}

void AfxTrace(const char* pszFile, int nLine, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int nLength = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    std::string text(nLength > 0 ? nLength : 0, '\0');
    if (nLength > 0)
        vsnprintf(&text[0], text.size() + 1, pszFormat, args);
    va_end(args);

    if (s_pTraceHook != nullptr) {
        s_pTraceHook(pszFile, nLine, text.c_str());
        return;
    }
    std::string line = std::string(pszFile) + "(" + std::to_string(nLine) + "): " + text;
    if (line.empty() || line.back() != '\n')
        line += '\n';
    OutputDebugStringA(line.c_str());
}
