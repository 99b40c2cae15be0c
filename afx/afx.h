// The framework: a small MFC-style layer over Win32.
#pragma once

#include "afx/carray.h"
#include "afx/cbutton.h"
#include "afx/cdataexchange.h"
#include "afx/cdc.h"
#include "afx/cdialog.h"
#include "afx/cedit.h"
#include "afx/clistctrl.h"
#include "afx/cmenu.h"
#include "afx/cpaintdc.h"
#include "afx/cstring.h"
#include "afx/cstringarray.h"
#include "afx/ctreectrl.h"
#include "afx/cwinapp.h"
#include "afx/cwnd.h"
#include "afx/trace.h"
