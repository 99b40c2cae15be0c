#include "spoolscope/spoolscope.h"

#include "spoolscope/spoolscopedlg.h"

BEGIN_MESSAGE_MAP(CSpoolscopeApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSpoolscopeApp theApp;

BOOL CSpoolscopeApp::InitInstance()
{
    ::InitCommonControls();
    CWinApp::InitInstance();
    SetRegistryKey("Local AppWizard-Generated Applications");
    {
        CSpoolscopeDlg dlg;
        // cppcheck-suppress danglingLifetime ; cleared below, before dlg goes
        m_pMainWnd = &dlg;
        dlg.DoModal();
    }
    m_pMainWnd = nullptr;
    return FALSE;
}
