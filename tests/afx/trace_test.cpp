#include "afx/trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TraceLine {
    std::string file;
    int line;
    std::string text;
};
std::vector<TraceLine> g_lines;

void Record(const char* pszFile, int nLine, const char* pszText)
{
    g_lines.push_back({pszFile, nLine, pszText});
}

TEST(TraceTest, DebugBuildsTagEachLineWithFileAndLine)
{
#ifndef _DEBUG
    GTEST_SKIP() << "TRACE writes nothing in release builds";
#else
    g_lines.clear();
    AFX_TRACE_HOOK pOld = AfxSetTraceHook(Record);
    int nLine = __LINE__ + 1;
    TRACE("\nSelect Fail %d", 10048);
    TRACE("Label = %s", "ZQ5518LB");
    AfxSetTraceHook(pOld);

    ASSERT_EQ(g_lines.size(), 2u);
    EXPECT_NE(g_lines[0].file.find("trace_test.cpp"), std::string::npos);
    EXPECT_EQ(g_lines[0].line, nLine);
    EXPECT_EQ(g_lines[0].text, "\nSelect Fail 10048");
    EXPECT_EQ(g_lines[1].line, nLine + 1);
    EXPECT_EQ(g_lines[1].text, "Label = ZQ5518LB");
#endif
}

}  // namespace
