// Shape records for tests, every field given.
#pragma once

#include "shapes/Data.h"

inline CData Record(int kind, CPoint start, CPoint end, COLORREF line = RGB(255, 0, 0),
                    COLORREF fill = RGB(0, 0, 255), int thickness = 3)
{
    CData d;
    d.m_nKind = kind;
    d.m_ptStart = start;
    d.m_ptEnd = end;
    d.m_crLine = line;
    d.m_crFill = fill;
    d.m_nThickness = thickness;
    return d;
}
