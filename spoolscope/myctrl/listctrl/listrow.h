// ListRow: the description of one row of the report list. The caller fills
// and owns it; CMyListCtrl::InsertRow only reads it.
#pragma once

#include "afx/afx.h"

struct ListRow {
    int nImage = 0;
    LPARAM lParam = 0;
    BOOL bCheck = FALSE;
    CStringArray strTexts;  // element 0: the row's own text; element i: column i
};
