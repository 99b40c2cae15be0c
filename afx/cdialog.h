// CDialog: a dialog box built from a dialog template resource, run modally
// (DoModal, the platform's modal loop) or modeless (Create).
#pragma once

#include "afx/cwnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    explicit CDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally; returns the EndDialog code, or -1 when the
    // dialog cannot be created. Without a parent, the main window owns it.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; FALSE when it cannot be created.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

    // Binds the controls (UpdateData(FALSE)); TRUE lets the platform set the focus.
    virtual BOOL OnInitDialog();

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    // IDOK: UpdateData(TRUE), then EndDialog(IDOK). IDCANCEL: EndDialog(IDCANCEL).
    virtual void OnOK();
    virtual void OnCancel();
    // A command id no map of the dialog handles goes on to the application.
    BOOL OnCmdMsg(UINT nID, UINT nCode) override;
    // WM_HELP (F1) becomes the ID_HELP command.
    LRESULT OnHelpMsg(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND GetOwnerForModal() const;
};
