#include "DrawingSvg.h"

#include "shapes/Shape.h"

#include "framework/gdi/PictureWriter.h"
#include "framework/gdi/SvgWriter.h"

namespace skr {

std::vector<BYTE> DrawingSvg(const CSkorelDoc& doc, const CRect& area)
{
    CSvgWriter svg(area);
    const CSize size = doc.GetCanvasSize();
    const CRect canvas(0, 0, size.cx, size.cy);
    const CRect picture = doc.GetPictureRect();
    CRect covered, shown;
    if (!IntersectRect(&covered, &picture, &area) || covered != area)
        svg.Fill(area, RGB(255, 255, 255));
    if (IntersectRect(&shown, &picture, &canvas)) {
        CDC dc;
        CBitmap pixels;
        dc.CreateCompatibleDC(nullptr);
        pixels.CreateCompatibleBitmap(&dc, shown.Width(), shown.Height());
        dc.SelectObject(&pixels);
        dc.FillSolidRect(0, 0, shown.Width(), shown.Height(), RGB(255, 255, 255));
        doc.m_pImage->Draw(0, 0, &dc);
        std::vector<BYTE> png;
        if (CPictureWriter::Encode(pixels, "png", png))
            svg.Image(0, 0, shown.Width(), shown.Height(), png);
    }
    for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;)
        WriteShapeSvg(svg, *doc.m_shapeList.GetNext(pos));
    return svg.Finish();
}

} // namespace skr
