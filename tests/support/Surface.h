// A memory device context on a surface of its own, and its pixels.
#pragma once

#include "framework/gdi/Gdi.h"

#include <vector>

struct MemorySurface {
    CDC dc;
    CBitmap bmp;

    MemorySurface(int width, int height, COLORREF fill)
    {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, width, height);
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, width, height, fill);
    }
    // Every pixel, row by row.
    std::vector<COLORREF> Pixels() const
    {
        const CSize s = bmp.GetSize();
        std::vector<COLORREF> v;
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x)
                v.push_back(dc.GetPixel(x, y));
        return v;
    }
};
