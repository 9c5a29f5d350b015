// The drawing as other programs take it: exported to a PNG, JPEG, BMP or SVG file, and copied
// to the clipboard as a picture. Both write the drawing as the canvas holds it, without the
// selection frame: the whole canvas, or the part the picture and the shapes cover.
#pragma once

#include "document/SkorelDoc.h"

#include "framework/gdi/Gdi.h"

#include <functional>
#include <string>
#include <vector>

// The file formats the drawing is exported to.
enum class ExportFormat { Png, Jpeg, Bmp, Svg };

// What export and picture copy write: the whole canvas, or with bPictureOnly the picture's
// area when there is a picture, else the bounds of the shapes within the canvas (the whole
// canvas when there are none).
CRect ExportArea(const CSkorelDoc& doc, bool bPictureOnly);

class CDrawingExport {
public:
    // Composes the drawing as it is now, the area of the canvas, into a new bitmap of the
    // area's size.
    using Composer = std::function<void(const CRect& area, CBitmap& picture)>;

    CDrawingExport(const CSkorelDoc& doc, Composer compose);

    // The drawing (the export area) to a file of the format, replacing an existing one only
    // when the new one is complete. FALSE, with the last error set where the system said why,
    // when it could not be written.
    BOOL WriteTo(const std::string& path, ExportFormat format, bool bPictureOnly) const;
    // Asks for a file, its type and the area, starting from bPictureOnly and leaving the
    // choice there, and writes the drawing to the file; a failure says so in a message.
    void Ask(bool& bPictureOnly) const;
    // The drawing (the export area) to the clipboard as a picture.
    void CopyPicture(bool bPictureOnly) const;

private:
    const CSkorelDoc& m_doc;
    Composer m_compose;
};
