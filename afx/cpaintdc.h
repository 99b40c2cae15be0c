// CPaintDC: BeginPaint on construction, EndPaint on destruction.
#pragma once

#include "afx/cdc.h"

class CWnd;

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)

public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};
