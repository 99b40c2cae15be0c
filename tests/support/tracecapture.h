// Collects the debug trace lines written while it exists.
#pragma once

#include "afx/trace.h"

#include <string>
#include <vector>

class TraceCapture {
public:
    TraceCapture() : m_pOld(AfxSetTraceHook(Record)) { Lines().clear(); }
    ~TraceCapture() { AfxSetTraceHook(m_pOld); }
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static void Record(const char*, int, const char* pszText) { Lines().push_back(pszText); }
    AFX_TRACE_HOOK m_pOld;
};
