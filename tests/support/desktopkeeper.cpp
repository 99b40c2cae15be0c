// Keeps the Wine session's desktop open while the tests run. Wine closes the
// desktop a second after its last other user ends and opens a new one for
// the next program; a program that starts meanwhile can be handed the
// closing desktop's window and fail to create its own (error 1400). This
// program holds a hidden window until no program but Wine's own has run for
// the number of seconds on its command line (default 300).
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>

namespace {

const UINT_PTR kCheckTimer = 1;
const UINT kCheckMs = 5000;

// Whether any process other than this one and Wine's own runs.
bool OthersRun()
{
    static const char* const kWineOwn[] = {"explorer.exe", "services.exe", "winedevice.exe", "plugplay.exe",
                                           "svchost.exe",  "rpcss.exe",    "conhost.exe",    "rundll32.exe"};
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return true;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool bOthers = false;
    for (BOOL bMore = ::Process32First(hSnapshot, &entry); bMore && !bOthers;
         bMore = ::Process32Next(hSnapshot, &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId())
            continue;
        bool bWineOwn = false;
        for (const char* pszName : kWineOwn)
            bWineOwn = bWineOwn || lstrcmpiA(entry.szExeFile, pszName) == 0;
        bOthers = !bWineOwn;
    }
    ::CloseHandle(hSnapshot);
    return bOthers;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    long nIdleSeconds = strtol(lpCmdLine, nullptr, 10);
    if (nIdleSeconds <= 0)
        nIdleSeconds = 300;
    HWND hWnd = ::CreateWindowA("STATIC", "desktop keeper", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, hInstance,
                                nullptr);
    if (hWnd == nullptr)
        return 1;
    ::SetTimer(hWnd, kCheckTimer, kCheckMs, nullptr);
    DWORD nLastSeen = ::GetTickCount();
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.wParam == kCheckTimer) {
            if (OthersRun())
                nLastSeen = ::GetTickCount();
            else if (::GetTickCount() - nLastSeen >= static_cast<DWORD>(nIdleSeconds) * 1000)
                break;
        }
        ::DispatchMessageA(&msg);
    }
    ::DestroyWindow(hWnd);
    return 0;
}
