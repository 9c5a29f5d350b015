#include "FileDialogs.h"

#include "res/resource.h"

#include "framework/core/Resource.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"

std::optional<CSaveChoice> AskSaveAs(const std::string& initial, SkorelFile type, bool bDrawingOnly)
{
    // A name typed without an extension gets the chosen type's.
    CFileDialog dlg(FALSE, PictureExtension().c_str(), NamedAs(initial, type).c_str(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, SaveAsFilter(bDrawingOnly).c_str());
    const int drawingIndex = bDrawingOnly ? 1 : 2;
    dlg.SetFilterIndex(type == SkorelFile::Drawing ? drawingIndex : 1);
    // The shapes never go into a picture file by mistake.
    dlg.SetNameCheck(
        [drawingIndex](const std::string& path, int nFilterIndex) -> std::optional<CNameRefusal> {
            if (nFilterIndex != drawingIndex ||
                TypeOfName(path, SkorelFile::Drawing) == SkorelFile::Drawing)
                return std::nullopt;
            return CNameRefusal{res::LoadString(IDS_DRAWING_NOT_PICTURE),
                                NamedAs(path, SkorelFile::Drawing)};
        });
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return CSaveChoice{dlg.GetPathName(), dlg.GetFilterIndex() == drawingIndex
                                              ? SkorelFile::Drawing
                                              : SkorelFile::Picture};
}

std::optional<std::string> AskInsertFile()
{
    CFileDialog dlg(TRUE, nullptr, nullptr, 0, OpenFilter().c_str());
    dlg.SetTitle(res::LoadString(IDS_INSERT_TITLE));
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.GetPathName();
}

int AskKeepDrawing()
{
    return AfxMessageBox(res::LoadString(IDS_SAVE_DRAWING_PROMPT),
                         MB_YESNOCANCEL | MB_ICONQUESTION);
}
