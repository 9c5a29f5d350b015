#include "DrawingRecovery.h"

#include "SkorelDoc.h"

void CDrawingRecovery::DrawingChanged(CSkorelDoc& doc)
{
    if (!doc.IsModified())
        m_journal.Stop();
    else
        m_journal.Keep(doc.GetPathName(), doc.m_shapeList, doc.m_pImage);
}
