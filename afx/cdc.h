// CDC: a device context handle with the drawing the programs use.
#pragma once

#include "afx/cobject.h"

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)

public:
    HDC m_hDC = nullptr;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
};
