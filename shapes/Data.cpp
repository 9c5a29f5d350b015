#include "Data.h"

void CData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_ptStart.x << m_ptStart.y << m_ptEnd.x << m_ptEnd.y << m_nKind << m_crLine
           << m_crFill << m_nThickness;
    } else {
        ar >> m_ptStart.x >> m_ptStart.y >> m_ptEnd.x >> m_ptEnd.y >> m_nKind >> m_crLine >>
            m_crFill >> m_nThickness;
    }
}
