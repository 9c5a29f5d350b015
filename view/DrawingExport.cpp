// The drawing as other programs take it: exported to a PNG, JPEG, BMP or SVG file, and copied
// to the clipboard as a picture. Both write the drawing as the canvas holds it, without the
// selection frame: the whole canvas, or the part the picture and the shapes cover.
#include "DrawingExport.h"

#include "document/DrawingSvg.h"
#include "document/FileFilters.h"
#include "shapes/Shape.h"

#include "res/resource.h"

#include "framework/core/Error.h"
#include "framework/core/File.h"
#include "framework/core/Resource.h"
#include "framework/gdi/PictureWriter.h"
#include "framework/window/Clipboard.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

namespace {

using Use = res::PictureFormat::Use;

// JPEG's quality: sharp enough for lines one pixel wide.
constexpr int kJpegQuality = 95;

// The export formats by the names of Qt's codecs in the table of picture formats.
struct Codec {
    ExportFormat format;
    const char* name;
};
constexpr Codec kCodecs[] = {{ExportFormat::Png, "png"},
                             {ExportFormat::Jpeg, "jpeg"},
                             {ExportFormat::Bmp, "bmp"},
                             {ExportFormat::Svg, "svg"}};

const char* CodecOf(ExportFormat format)
{
    return std::ranges::find(kCodecs, format, &Codec::format)->name;
}

std::optional<ExportFormat> FormatOf(const res::PictureFormat* pFormat)
{
    const auto codec = std::ranges::find_if(kCodecs, [pFormat](const Codec& c) {
        return pFormat && pFormat->codec && std::string_view(pFormat->codec) == c.name;
    });
    return codec == std::end(kCodecs) ? std::nullopt : std::optional(codec->format);
}

// The format a name's extension says (any case); none for another extension or none.
std::optional<ExportFormat> NamedFormat(const std::string& path)
{
    return FormatOf(FormatNamedBy(path, Use::Exported));
}

// The format of a filter, counted from 1.
ExportFormat FilterFormat(int nFilterIndex)
{
    const std::vector<const res::PictureFormat*> formats = FormatsFor(Use::Exported);
    const bool known = nFilterIndex >= 1 && nFilterIndex <= int(formats.size());
    return FormatOf(known ? formats[std::size_t(nFilterIndex - 1)] : nullptr)
        .value_or(ExportFormat::Png);
}

// The extension, without its dot, that names the format first.
std::string ExtensionOf(ExportFormat format)
{
    return FormatOfCodec(CodecOf(format))->extensions.front();
}

// The drawing's name with the extension of the format; never the name of the file the
// drawing or its picture was opened from, which the export would replace: that one gets "-1"
// before the extension.
std::string ProposedName(const CSkorelDoc& doc, ExportFormat format)
{
    const std::string& named = doc.GetPathName().empty() ? doc.GetTitle() : doc.GetPathName();
    const std::string ext = ExtensionOf(format);
    const std::string name = WithExtension(named, ext);
    const std::string picture = doc.m_pImage ? doc.m_pImage->m_strFileName : std::string();
    if (name == doc.GetPathName() || (!picture.empty() && name == picture))
        return name.substr(0, name.size() - ext.size() - 1) + "-1." + ext;
    return name;
}

} // namespace

CRect ExportArea(const CSkorelDoc& doc, bool bPictureOnly)
{
    const CSize size = doc.GetCanvasSize();
    const CRect canvas(0, 0, size.cx, size.cy);
    if (!bPictureOnly)
        return canvas;
    // A picture is what the shapes annotate: its area is the drawing's.
    CRect bounds = doc.GetPictureRect();
    if (bounds.IsRectEmpty())
        for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;)
            GrowToShape(bounds, *doc.m_shapeList.GetNext(pos));
    // With nothing drawn, the whole canvas is the drawing.
    CRect area;
    return IntersectRect(&area, &bounds, &canvas) ? area : canvas;
}

CDrawingExport::CDrawingExport(const CSkorelDoc& doc, Composer compose)
    : m_doc(doc), m_compose(std::move(compose))
{}

BOOL CDrawingExport::WriteTo(const std::string& path, ExportFormat format, bool bPictureOnly) const
{
    SetLastError(0);
    const CRect area = ExportArea(m_doc, bPictureOnly);
    std::vector<BYTE> bytes;
    if (format == ExportFormat::Svg) {
        bytes = skr::DrawingSvg(m_doc, area);
    } else {
        CBitmap picture;
        m_compose(area, picture);
        const bool encoded =
            format == ExportFormat::Bmp
                ? CBaseImage::WriteBitmap(&picture, AppendTo(bytes))
                : CPictureWriter::Encode(picture, CodecOf(format), bytes,
                                         format == ExportFormat::Jpeg ? kJpegQuality : -1);
        if (!encoded)
            return FALSE;
    }
    return ReplaceFile(path.c_str(), bytes.data(), bytes.size()) ? TRUE : FALSE;
}

void CDrawingExport::Ask(bool& bPictureOnly) const
{
    // A name typed without an extension gets the chosen filter's.
    const ExportFormat first = FilterFormat(1);
    CFileDialog dlg(FALSE, ExtensionOf(first).c_str(), ProposedName(m_doc, first).c_str(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, ExportFilter().c_str());
    dlg.SetTitle(res::LoadString(IDS_EXPORT_TITLE));
    dlg.AddCheckButton(res::LoadString(IDS_EXPORT_AREA), bPictureOnly);
    // The bytes never go under a name that says another type: such a name gets the chosen
    // type's extension after its own.
    dlg.SetNameCheck([](const std::string& path, int nFilterIndex) -> std::optional<CNameRefusal> {
        if (NamedFormat(path))
            return std::nullopt;
        return CNameRefusal{res::FormatString(IDS_EXPORT_TYPE, ExportedFormatNames()),
                            path + "." + ExtensionOf(FilterFormat(nFilterIndex))};
    });
    if (dlg.DoModal() != IDOK)
        return;
    bPictureOnly = dlg.GetCheckButtonState() != FALSE;
    const std::string path = dlg.GetPathName();
    if (!WriteTo(path, NamedFormat(path).value_or(FilterFormat(dlg.GetFilterIndex())),
                 bPictureOnly))
        AfxFileMessageBox(path, res::LoadString(IDS_EXPORT_FAILED), GetLastError());
}

void CDrawingExport::CopyPicture(bool bPictureOnly) const
{
    CBitmap picture;
    m_compose(ExportArea(m_doc, bPictureOnly), picture);
    CClipboard::SetPicture(picture);
}
