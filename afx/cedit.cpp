#include "afx/cedit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)
