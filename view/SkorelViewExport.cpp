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

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>

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

// The format a name's extension says (any case); none for another extension or none.
std::optional<ExportFormat> NamedFormat(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const Extension& e : kExtensions)
        if (ext == e.text)
            return e.format;
    return std::nullopt;
}

// The format of a filter, counted from 1.
ExportFormat FilterFormat(int nFilterIndex)
{
    const bool known = nFilterIndex >= 1 && nFilterIndex <= int(std::size(kFilterFormats));
    return known ? kFilterFormats[nFilterIndex - 1] : ExportFormat::Png;
}

// The first extension that names the format.
const char* ExtensionOf(ExportFormat format)
{
    return std::ranges::find(kExtensions, format, &Extension::format)->text;
}

// The drawing's name with the extension of the format; never the name of the file the
// drawing or its picture was opened from, which the export would replace: that one gets "-1"
// before the extension.
std::string ProposedName(const CSkorelDoc& doc, ExportFormat format)
{
    std::filesystem::path name = doc.GetPathName().empty() ? doc.GetTitle() : doc.GetPathName();
    name.replace_extension(ExtensionOf(format));
    const std::string picture = doc.m_pImage ? doc.m_pImage->m_strFileName : std::string();
    if (name.string() == doc.GetPathName() || (!picture.empty() && name.string() == picture))
        name.replace_filename(name.stem().string() + "-1" + ExtensionOf(format));
    return name.string();
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
    // A picture is what the shapes annotate: its area is the drawing's.
    const CSkorelDoc* pDoc = GetDocument();
    CRect bounds = PictureRect(pDoc->m_pImage.get());
    if (bounds.IsRectEmpty())
        for (POSITION pos = pDoc->m_shapeList.GetHeadPosition(); pos;) {
            const CRect shape = ShapeBounds(*pDoc->m_shapeList.GetNext(pos));
            UnionRect(&bounds, &bounds, &shape);
        }
    // With nothing drawn, the whole canvas is the drawing.
    CRect area;
    return IntersectRect(&area, &bounds, &canvas) ? area : canvas;
}

std::vector<BYTE> CSkorelView::DrawingSvg(const CRect& area) const
{
    const CSkorelDoc* pDoc = GetDocument();
    CSvgWriter svg(area);
    // The canvas's white where the picture leaves any of the area, then the picture as the
    // canvas shows it: the part of it on the canvas, on white.
    CRect shown;
    const CRect canvas(0, 0, m_nCanvasWidth, m_nCanvasHeight);
    const CRect picture = PictureRect(pDoc->m_pImage.get());
    CRect covered;
    if (!IntersectRect(&covered, &picture, &area) || covered != area)
        svg.Fill(area, RGB(255, 255, 255));
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
    // A name typed without an extension gets the chosen filter's.
    CFileDialog dlg(FALSE, "png", ProposedName(*GetDocument(), kFilterFormats[0]).c_str(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, res::LoadString(IDS_EXPORT_FILTER));
    dlg.SetTitle(res::LoadString(IDS_EXPORT_TITLE));
    dlg.AddCheckButton(res::LoadString(IDS_EXPORT_AREA), m_bExportPictureOnly);
    // The bytes never go under a name that says another type: such a name gets the chosen
    // type's extension after its own.
    dlg.SetNameCheck([](const std::string& path, int nFilterIndex) -> std::optional<CNameRefusal> {
        if (NamedFormat(path))
            return std::nullopt;
        return CNameRefusal{res::LoadString(IDS_EXPORT_TYPE),
                            path + ExtensionOf(FilterFormat(nFilterIndex))};
    });
    if (dlg.DoModal() != IDOK)
        return;
    m_bExportPictureOnly = dlg.GetCheckButtonState() != FALSE;
    const std::string path = dlg.GetPathName();
    if (!ExportTo(path, NamedFormat(path).value_or(FilterFormat(dlg.GetFilterIndex())),
                  m_bExportPictureOnly))
        AfxFileMessageBox(path, res::LoadString(IDS_EXPORT_FAILED), GetLastError());
}

void CSkorelView::OnEditCopyPicture()
{
    CBitmap picture;
    CopyCanvas(ExportArea(m_bExportPictureOnly), picture);
    CClipboard::SetPicture(picture);
}
