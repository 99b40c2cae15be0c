#include "afx/cdialog.h"

#include "afx/cwinapp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_HELP, OnHelpMsg)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

// The dialog procedure only binds the window at WM_INITDIALOG: from then on
// the window procedure is AfxWndProc, which runs the message map and hands
// everything else back to the dialog manager, whose call of this procedure
// returns FALSE (default dialog processing). Results therefore reach senders
// straight from the window procedure.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM /*wParam*/, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDialog = reinterpret_cast<CDialog*>(lParam);
    if (pDialog == nullptr || !pDialog->SubclassWindow(hWnd))
        return TRUE;
    return pDialog->OnInitDialog();
}

HWND CDialog::GetOwnerForModal() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd == this || !::IsWindow(pMainWnd->m_hWnd))
        return nullptr;
    return ::GetAncestor(pMainWnd->m_hWnd, GA_ROOT);
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr)
        return -1;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), GetOwnerForModal(),
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (m_hWnd != nullptr)
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                     pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, UINT nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    // Only menu and accelerator commands (ids 0x8000 to 0xEFFF) go on.
    if (nCode != 0 || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode);
}

LRESULT CDialog::OnHelpMsg(WPARAM, LPARAM)
{
    SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}
