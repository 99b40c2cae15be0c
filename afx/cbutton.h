// CButton: the platform's Button control.
#pragma once

#include "afx/cwnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
};
