// The client pixels of a window, read from its surface, which holds only the part of the
// client area that shows and a margin around it.
#pragma once

#include "framework/window/Wnd.h"

#include <QImage>
#include <QPainter>

namespace testing_support {

// Client pixel (x, y) as the surface holds it; 0 (transparent black) where it holds none.
inline QRgb HeldPixel(const CWnd& wnd, int x, int y)
{
    const CRect held = wnd.GetSurfaceRect();
    if (!held.PtInRect(CPoint(x, y)))
        return 0;
    return wnd.GetSurface()->pixel(x - held.left, y - held.top);
}

// The client area, `client` large, as the surface holds it: the part held in its place,
// transparent black elsewhere.
inline QImage HeldClientArea(const CWnd& wnd, QSize client)
{
    QImage area(client, QImage::Format_ARGB32);
    area.fill(0);
    const CRect held = wnd.GetSurfaceRect();
    QPainter(&area).drawImage(held.left, held.top, *wnd.GetSurface());
    return area;
}

} // namespace testing_support
