// A memory device context on a surface of its own, its pixels, and figures drawn on it.
#pragma once

#include "framework/gdi/Gdi.h"

#include <algorithm>
#include <climits>
#include <vector>

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct MemorySurface {
    // What Draw draws with the context's pen and brush.
    enum class Figure { Line, Rectangle, Ellipse };

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
    int Count(COLORREF c) const { return int(std::ranges::count(Pixels(), c)); }
    // The bounding box of the pixels other than the background.
    CRect Ink(COLORREF background) const
    {
        const CSize s = bmp.GetSize();
        CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x)
                if (dc.GetPixel(x, y) != background)
                    r = CRect(std::min<LONG>(r.left, x), std::min<LONG>(r.top, y),
                              std::max<LONG>(r.right, x + 1), std::max<LONG>(r.bottom, y + 1));
        return r;
    }
    // A line from the first corner to the second, or the figure in the box they span.
    void Draw(Figure figure, int x1, int y1, int x2, int y2)
    {
        switch (figure) {
        case Figure::Line:
            dc.MoveTo(x1, y1);
            dc.LineTo(x2, y2);
            break;
        case Figure::Rectangle:
            dc.Rectangle(x1, y1, x2, y2);
            break;
        case Figure::Ellipse:
            dc.Ellipse(x1, y1, x2, y2);
            break;
        }
    }
};

// A white surface, 64 × 48 unless told otherwise; its ink is what is not white.
struct WhiteSurface : MemorySurface {
    explicit WhiteSurface(int width = 64, int height = 48)
        : MemorySurface(width, height, RGB(255, 255, 255))
    {}
    CRect Ink() const { return MemorySurface::Ink(RGB(255, 255, 255)); }
};
