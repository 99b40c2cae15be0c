// CDataExchange and DDX_Control: binding dialog controls to their objects.
#pragma once

#include "afx/winheaders.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;

    // The control window nIDC of the dialog, or nullptr.
    HWND PrepareCtrl(int nIDC) const;
};

// Binds rControl to control nIDC on the first exchange (subclassing it); later
// exchanges leave the binding as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
