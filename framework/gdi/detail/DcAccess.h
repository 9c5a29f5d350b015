// What drawing on a device context takes from it for the rasteriser: its target pixels and
// clip, its pen and its brush. Gdi-layer private.
#pragma once

#include "framework/gdi/Gdi.h"
#include "framework/gdi/Raster.h"

#include <QImage>

struct DcAccess {
    static bool Target(const CDC& dc, raster::Target& t)
    {
        QImage* img = dc.m_pSurface;
        if (!img || img->isNull())
            return false;
        CRect clip;
        dc.GetClipBox(&clip);
        t = {reinterpret_cast<std::uint32_t*>(img->bits()),
             img->width(),
             img->height(),
             img->bytesPerLine() / 4,
             clip.left,
             clip.top,
             clip.right,
             clip.bottom,
             -std::int64_t(dc.m_ptViewportOrg.x),
             -std::int64_t(dc.m_ptViewportOrg.y)};
        return true;
    }
    static raster::Stroke Pen(const CDC& dc)
    {
        const CPen* p = dc.m_pPen;
        return {p->Style(), p->Width(), {raster::ToPixel(p->Color()), dc.m_nDrawMode}};
    }
    static bool Brush(const CDC& dc, raster::Ink& ink)
    {
        const CBrush* b = dc.m_pBrush;
        if (b->IsHollow())
            return false;
        ink = {raster::ToPixel(b->Color()), dc.m_nDrawMode};
        return true;
    }
};
