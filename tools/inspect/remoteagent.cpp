#include "remoteagent.h"

#include "agent.h"
#include "remotememory.h"

#include <psapi.h>

namespace {

HMODULE RemoteModule(HANDLE hProcess, const char* pszName)
{
    HMODULE modules[1024];
    DWORD cbNeeded = 0;
    if (!::EnumProcessModules(hProcess, modules, sizeof(modules), &cbNeeded))
        return nullptr;
    DWORD nModules = cbNeeded / sizeof(HMODULE);
    for (DWORD i = 0; i < nModules && i < sizeof(modules) / sizeof(modules[0]); ++i) {
        char szName[MAX_PATH] = {};
        if (::GetModuleBaseNameA(hProcess, modules[i], szName, sizeof(szName)) &&
            lstrcmpiA(szName, pszName) == 0)
            return modules[i];
    }
    return nullptr;
}

// The address in the other process of a function that this process has at
// pLocal in hLocal, a module loaded in both.
LPTHREAD_START_ROUTINE RemoteAddress(HMODULE hRemote, HMODULE hLocal, FARPROC pLocal)
{
    ptrdiff_t offset = reinterpret_cast<const char*>(pLocal) - reinterpret_cast<const char*>(hLocal);
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<char*>(hRemote) + offset);
}

bool RunRemote(HANDLE hProcess, LPTHREAD_START_ROUTINE pStart, void* pParam, DWORD timeoutMs,
               const std::string& what, DWORD* pExitCode, std::string* pError)
{
    HANDLE hThread = ::CreateRemoteThread(hProcess, nullptr, 0, pStart, pParam, 0, nullptr);
    if (hThread == nullptr) {
        *pError = "cannot start a thread in the monitor's process to " + what + " (error " +
                  std::to_string(::GetLastError()) + ")";
        return false;
    }
    bool bDone = ::WaitForSingleObject(hThread, timeoutMs) == WAIT_OBJECT_0;
    if (bDone)
        ::GetExitCodeThread(hThread, pExitCode);
    ::CloseHandle(hThread);
    if (!bDone)
        *pError = "the thread in the monitor's process did not " + what + " within " +
                  std::to_string(timeoutMs) + " ms";
    return bDone;
}

}  // namespace

bool RunAgentRoutine(HANDLE hProcess, const char* pszRoutine, void* pBlock, size_t cbBlock, DWORD timeoutMs,
                     DWORD* pResult, std::string* pError)
{
    char szPath[MAX_PATH] = {};
    DWORD nLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path(szPath, nLength);
    path = path.substr(0, path.find_last_of('\\') + 1) + INSPECT_AGENT_LIBRARY;

    HMODULE hLocal = ::LoadLibraryA(path.c_str());
    if (hLocal == nullptr) {
        *pError = "cannot load " + path;
        return false;
    }
    FARPROC pRoutine = ::GetProcAddress(hLocal, pszRoutine);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    HMODULE hRemoteKernel = RemoteModule(hProcess, "kernel32.dll");
    if (pRoutine == nullptr || hRemoteKernel == nullptr) {
        *pError = std::string("cannot find ") + pszRoutine + " or the monitor's kernel32.dll";
        ::FreeLibrary(hLocal);
        return false;
    }

    const size_t kBlockOffset = MAX_PATH + 16;
    RemoteMemory memory(hProcess, kBlockOffset + cbBlock);
    if (!memory.IsValid() || !memory.Write(0, path.c_str(), path.size() + 1) ||
        !memory.Write(kBlockOffset, pBlock, cbBlock)) {
        *pError = "cannot write into the monitor's memory";
        ::FreeLibrary(hLocal);
        return false;
    }

    bool bRan = false;
    DWORD nExit = 0;
    auto pLoad = RemoteAddress(hRemoteKernel, hKernel, ::GetProcAddress(hKernel, "LoadLibraryA"));
    if (RunRemote(hProcess, pLoad, memory.At(0), timeoutMs, "load " INSPECT_AGENT_LIBRARY, &nExit, pError)) {
        HMODULE hRemote = RemoteModule(hProcess, INSPECT_AGENT_LIBRARY);
        if (hRemote == nullptr) {
            *pError = "the monitor's process could not load " + path;
        } else {
            bRan = RunRemote(hProcess, RemoteAddress(hRemote, hLocal, pRoutine), memory.At(kBlockOffset),
                             timeoutMs, std::string("run ") + pszRoutine, pResult, pError) &&
                   memory.Read(kBlockOffset, pBlock, cbBlock);
            auto pFree = RemoteAddress(hRemoteKernel, hKernel, ::GetProcAddress(hKernel, "FreeLibrary"));
            std::string ignored;
            RunRemote(hProcess, pFree, hRemote, timeoutMs, "unload " INSPECT_AGENT_LIBRARY, &nExit, &ignored);
        }
    }
    ::FreeLibrary(hLocal);
    return bRan;
}
