// CWinApp: the application object. Exactly one exists, as a global object;
// the framework's WinMain (afx/winmain.cpp) calls its InitInstance and, when
// that succeeds, runs the message loop.
#pragma once

#include "afx/ccmdtarget.h"
#include "afx/cstring.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
#define AFX_IDS_APP_TITLE 0xE000

class CWnd;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    // Without a name, the application title string resource or else the
    // executable's file name (without extension) names the application.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // The message loop; returns ExitInstance's result.
    virtual int Run();
    virtual int ExitInstance();

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    // Names the registry key under HKEY_CURRENT_USER\Software where profile
    // settings would be kept; writes nothing.
    void SetRegistryKey(LPCSTR lpszRegistryKey);

    // ID_HELP: shows the application's help text (string resource ID_HELP)
    // in a message box, or beeps when it has none.
    void OnHelp();

    // Called by the framework's WinMain before InitInstance.
    void SetStartupInfo(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strExeName;
    CString m_strRegistryKey;
    CString m_strProfileName;
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
