#include "systemmenu.h"

#include "remoteagent.h"

bool ReadSystemMenu(HANDLE hProcess, HWND hWnd, DWORD timeoutMs, std::vector<SystemMenuBlock::Item>* pItems,
                    std::string* pError)
{
    SystemMenuBlock block = {};
    block.hWnd = hWnd;
    DWORD nResult = 0;
    if (!RunAgentRoutine(hProcess, INSPECT_READ_SYSTEM_MENU, &block, sizeof(block), timeoutMs, &nResult,
                         pError))
        return false;
    if (nResult != 1 || block.nCount < 0 || block.nCount > SystemMenuBlock::kMaxItems) {
        *pError = "the window has no system menu that can be read";
        return false;
    }
    pItems->assign(block.items, block.items + block.nCount);
    return true;
}
