// CPoint: a POINT with constructors.
#pragma once

#include "afx/winheaders.h"

class CPoint : public POINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    // cppcheck-suppress noExplicitConstructor ; converts from POINT, as MFC's does
    CPoint(POINT pt)
    {
        x = pt.x;
        y = pt.y;
    }
};
