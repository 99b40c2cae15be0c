// The smallest Win32 dialog program: the start-up benchmark's baseline.
#include <windows.h>

namespace {

INT_PTR CALLBACK MinimalDialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM)
{
    if (nMsg == WM_INITDIALOG)
        return TRUE;
    if (nMsg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    if (nMsg == WM_CLOSE) {
        ::EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(100), nullptr, MinimalDialogProc, 0));
}
