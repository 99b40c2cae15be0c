#include "afx/cdataexchange.h"

#include "afx/cwnd.h"
#include "afx/trace.h"

HWND CDataExchange::PrepareCtrl(int nIDC) const
{
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr || !rControl.SubclassWindow(hWndCtrl))
        TRACE("DDX_Control: control %d cannot be bound\n", nIDC);
}
