// Export and picture copy through CDrawingExport, composed by the view.
#include "SkorelView.h"

CDrawingExport CSkorelView::Export()
{
    return CDrawingExport(
        *GetDocument(), [this](const CRect& area, CBitmap& picture) { CopyCanvas(area, picture); });
}

BOOL CSkorelView::ExportTo(const std::string& path, ExportFormat format, bool bPictureOnly)
{
    return Export().WriteTo(path, format, bPictureOnly);
}

void CSkorelView::OnFileExport() { Export().Ask(m_bExportPictureOnly); }

void CSkorelView::OnEditCopyPicture() { Export().CopyPicture(m_bExportPictureOnly); }
