// The drawing as other programs take it: exported to a PNG, JPEG, BMP or SVG file, and copied
// to the clipboard as a picture. Both write the drawing as the canvas holds it, without the
// selection frame: the whole canvas, or the part the picture and the shapes cover.
#include "SkorelView.h"

#include "shapes/Shape.h"

#include "res/resource.h"

#include "framework/core/Error.h"
#include "framework/core/File.h"
#include "framework/core/Resource.h"
#include "framework/gdi/PictureWriter.h"
#include "framework/gdi/SvgWriter.h"
#include "framework/window/Clipboard.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iterator>

namespace {

// The formats in the order of the export dialog's filters, and the extensions that name them.
constexpr ExportFormat kFilterFormats[] = {ExportFormat::Png, ExportFormat::Jpeg, ExportFormat::Bmp,
                                           ExportFormat::Svg};
struct Extension {
    const char* text;
    ExportFormat format;
};
constexpr Extension kExtensions[] = {{".png", ExportFormat::Png},
                                     {".jpg", ExportFormat::Jpeg},
                                     {".jpeg", ExportFormat::Jpeg},
                                     {".bmp", ExportFormat::Bmp},
                                     {".svg", ExportFormat::Svg}};

// The format a name's extension says (any case), else the filter's.
ExportFormat FormatOf(const std::string& path, int nFilterIndex)
{
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const Extension& e : kExtensions)
        if (ext == e.text)
            return e.format;
    const bool known = nFilterIndex >= 1 && nFilterIndex <= int(std::size(kFilterFormats));
    return known ? kFilterFormats[nFilterIndex - 1] : ExportFormat::Png;
}

CPictureWriter::Format WriterFormat(ExportFormat format)
{
    return format == ExportFormat::Jpeg  ? CPictureWriter::Format::Jpeg
           : format == ExportFormat::Bmp ? CPictureWriter::Format::Bmp
                                         : CPictureWriter::Format::Png;
}

// Where the picture lies on the canvas: its whole size at the origin; empty without one.
CRect PictureRect(const CBaseImage* pImage)
{
    if (!pImage || !pImage->m_pBits)
        return CRect();
    const CSize size = pImage->GetSize();
    return CRect(0, 0, size.cx, std::abs(size.cy));
}

} // namespace

CRect CSkorelView::ExportArea(bool bPictureOnly) const
{
    const CRect canvas(0, 0, m_nCanvasWidth, m_nCanvasHeight);
    if (!bPictureOnly)
        return canvas;
    const CSkorelDoc* pDoc = GetDocument();
    CRect bounds = PictureRect(pDoc->m_pImage.get());
    for (POSITION pos = pDoc->m_shapeList.GetHeadPosition(); pos;) {
        const CRect shape = ShapeBounds(*pDoc->m_shapeList.GetNext(pos));
        UnionRect(&bounds, &bounds, &shape);
    }
    // With nothing drawn, the whole canvas is the drawing.
    CRect area;
    return IntersectRect(&area, &bounds, &canvas) ? area : canvas;
}

void CSkorelView::CopyCanvas(const CRect& area, CBitmap& picture)
{
    UpdateCanvas(CRect(0, 0, m_nCanvasWidth, m_nCanvasHeight));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    picture.CreateCompatibleBitmap(&dc, area.Width(), area.Height());
    dc.SelectObject(&picture);
    dc.BitBlt(0, 0, area.Width(), area.Height(), &m_dcCanvas, area.left, area.top, SRCCOPY);
}

std::vector<BYTE> CSkorelView::DrawingSvg(const CRect& area) const
{
    const CSkorelDoc* pDoc = GetDocument();
    CSvgWriter svg(area);
    // The picture as the canvas shows it: the part of it on the canvas, on white.
    CRect shown;
    const CRect canvas(0, 0, m_nCanvasWidth, m_nCanvasHeight);
    const CRect picture = PictureRect(pDoc->m_pImage.get());
    if (IntersectRect(&shown, &picture, &canvas)) {
        CDC dc;
        CBitmap pixels;
        dc.CreateCompatibleDC(nullptr);
        pixels.CreateCompatibleBitmap(&dc, shown.Width(), shown.Height());
        dc.SelectObject(&pixels);
        dc.FillSolidRect(0, 0, shown.Width(), shown.Height(), RGB(255, 255, 255));
        pDoc->m_pImage->Draw(0, 0, &dc);
        std::vector<BYTE> png;
        if (CPictureWriter::Encode(pixels, CPictureWriter::Format::Png, png))
            svg.Image(0, 0, shown.Width(), shown.Height(), png);
    }
    for (POSITION pos = pDoc->m_shapeList.GetHeadPosition(); pos;)
        WriteShapeSvg(svg, *pDoc->m_shapeList.GetNext(pos));
    return svg.Finish();
}

BOOL CSkorelView::ExportTo(const std::string& path, ExportFormat format, bool bPictureOnly)
{
    SetLastError(0);
    const CRect area = ExportArea(bPictureOnly);
    std::vector<BYTE> bytes;
    if (format == ExportFormat::Svg) {
        bytes = DrawingSvg(area);
    } else {
        CBitmap picture;
        CopyCanvas(area, picture);
        if (!CPictureWriter::Encode(picture, WriterFormat(format), bytes))
            return FALSE;
    }
    CFileReplacement file;
    return file.Open(path.c_str()) && file.Write(bytes.data(), bytes.size()) && file.Commit()
               ? TRUE
               : FALSE;
}

void CSkorelView::OnFileExport()
{
    const CSkorelDoc* pDoc = GetDocument();
    std::filesystem::path initial =
        pDoc->GetPathName().empty() ? pDoc->GetTitle() : pDoc->GetPathName();
    initial.replace_extension(".png");
    // A name typed without an extension gets the chosen filter's.
    CFileDialog dlg(FALSE, "png", initial.string().c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    res::LoadString(IDS_EXPORT_FILTER));
    dlg.SetTitle(res::LoadString(IDS_EXPORT_TITLE));
    dlg.AddCheckButton(res::LoadString(IDS_EXPORT_AREA), m_bExportPictureOnly);
    if (dlg.DoModal() != IDOK)
        return;
    m_bExportPictureOnly = dlg.GetCheckButtonState() != FALSE;
    const std::string path = dlg.GetPathName();
    if (!ExportTo(path, FormatOf(path, dlg.GetFilterIndex()), m_bExportPictureOnly))
        AfxFileMessageBox(path, res::LoadString(IDS_EXPORT_FAILED), GetLastError());
}

void CSkorelView::OnEditCopyPicture()
{
    CBitmap picture;
    CopyCanvas(ExportArea(m_bExportPictureOnly), picture);
    CClipboard::SetPicture(picture);
}
