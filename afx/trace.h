// Debug trace lines: TRACE writes one line tagged with its source file and
// line, in debug builds only (OutputDebugString).
#pragma once

typedef void (*AFX_TRACE_HOOK)(const char* pszFile, int nLine, const char* pszText);

void AfxTrace(const char* pszFile, int nLine, const char* pszFormat, ...)
    __attribute__((format(gnu_printf, 3, 4)));

// Replaces the debug output with pHook (tests read trace lines this way);
// nullptr restores it. Returns the previous hook.
AFX_TRACE_HOOK AfxSetTraceHook(AFX_TRACE_HOOK pHook);

#ifdef _DEBUG
#define TRACE(...) AfxTrace(__FILE__, __LINE__, __VA_ARGS__)
#else
#define TRACE(...) ((void)0)
#endif
