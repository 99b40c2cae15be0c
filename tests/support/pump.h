// Message pumping with a deadline for the framework tests.
#pragma once

#include "afx/winheaders.h"

#include <functional>

// Dispatches the messages of hWnd (and its children) until done() holds or
// timeoutMs pass; returns done().
inline bool PumpUntil(HWND hWnd, const std::function<bool()>& done, DWORD timeoutMs = 2000)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return done();
        MSG msg;
        while (::PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
