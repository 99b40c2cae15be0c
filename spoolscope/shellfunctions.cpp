#include "spoolscope/shellfunctions.h"

static const ShellFunctions s_real = {::ShellExecuteA, ::GetModuleFileNameA};
static const ShellFunctions* s_pFunctions = nullptr;

const ShellFunctions& Shell()
{
    return s_pFunctions != nullptr ? *s_pFunctions : s_real;
}

const ShellFunctions* SetShellFunctions(const ShellFunctions* pFunctions)
{
    const ShellFunctions* pOld = s_pFunctions;
    s_pFunctions = pFunctions;
    return pOld;
}
