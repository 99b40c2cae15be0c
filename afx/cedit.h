// CEdit: the platform's Edit control.
#pragma once

#include "afx/cwnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
};
