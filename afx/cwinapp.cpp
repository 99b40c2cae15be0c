#include "afx/cwinapp.h"

#include "afx/cwnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

static CWinApp* s_pApp = nullptr;

CWinApp* AfxGetApp()
{
    return s_pApp;
}

CWnd* AfxGetMainWnd()
{
    return s_pApp != nullptr ? s_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (s_pApp != nullptr && s_pApp->m_hInstance != nullptr)
        return s_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    if (lpszAppName != nullptr) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

void CWinApp::SetStartupInfo(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;

    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    CString strPath(szPath);
    CString strName = strPath.Mid(strPath.ReverseFind('\\') + 1);
    int nDot = strName.ReverseFind('.');
    m_strExeName = nDot >= 0 ? strName.Left(nDot) : strName;
    m_pszExeName = m_strExeName;

    if (m_pszAppName == nullptr) {
        if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE))
            m_strAppName = m_strExeName;
        m_pszAppName = m_strAppName;
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
    m_strProfileName = m_pszAppName != nullptr ? m_pszAppName : "";
    m_pszProfileName = m_strProfileName;
}

void CWinApp::OnHelp()
{
    CString strHelp;
    if (!strHelp.LoadString(ID_HELP)) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    ::MessageBoxA(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, strHelp, m_pszAppName,
                  MB_OK | MB_ICONINFORMATION);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->SetStartupInfo(hInstance, lpCmdLine, nCmdShow);
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
