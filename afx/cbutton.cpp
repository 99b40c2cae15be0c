#include "afx/cbutton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
