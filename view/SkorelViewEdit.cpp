// The selected shapes through the clipboard (CShapeClipboard), deleted, and pasted.
#include "SkorelView.h"

void CSkorelView::OnUpdateNeedsSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_selection.IsEmpty()); }

void CSkorelView::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(CShapeClipboard::CanPaste()); }

void CSkorelView::OnEditCopy()
{
    CShapeClipboard::Copy(m_selection.InOrder(GetDocument()->m_shapeList));
}

void CSkorelView::OnEditCut()
{
    OnEditCopy();
    OnEditClear();
}

void CSkorelView::OnEditClear()
{
    if (!m_selection.IsEmpty())
        GetDocument()->RemoveShapes(m_selection.Records());
}

void CSkorelView::OnEditPaste()
{
    CShapeClipboard::Pasted pasted = m_clipboard.Paste();
    if (pasted.picture) {
        GetDocument()->ReplacePicture(std::move(pasted.picture));
    } else if (!pasted.records.empty()) {
        // The pasted shapes come selected, ready to be moved with the arrow tool.
        m_nMode = MODE_SELECT;
        GetDocument()->AddShapes(std::move(pasted.records), true);
    }
}
