// Pens, brushes, the stock objects, the handle table of the platform's GDI objects, and bitmaps.
#include "Gdi.h"

#include "Dib.h"

#include "framework/core/Resource.h"

#include <QImage>

#include <algorithm>
#include <memory>
#include <vector>

// ---- pens and brushes ------------------------------------------------------------------

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    if (m_bCreated || m_bStock)
        return FALSE;
    m_nStyle = nPenStyle;
    m_nWidth = nWidth;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CPen::DeleteObject()
{
    if (!m_bCreated || m_bStock)
        return FALSE;
    m_bCreated = false;
    return TRUE;
}

CPen* CPen::Stock(int nIndex)
{
    static CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    static CPen black(PS_SOLID, 1, 0);
    static CPen none(PS_NULL, 1, 0);
    CPen* p = nIndex == WHITE_PEN   ? &white
              : nIndex == BLACK_PEN ? &black
              : nIndex == NULL_PEN  ? &none
                                    : nullptr;
    if (p)
        p->m_bStock = true;
    return p;
}

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    if (m_bCreated || m_bStock)
        return FALSE;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CBrush::DeleteObject()
{
    if (!m_bCreated || m_bStock)
        return FALSE;
    m_bCreated = false;
    return TRUE;
}

CBrush* CBrush::Stock(int nIndex)
{
    static CBrush brushes[5] = {CBrush(RGB(255, 255, 255)), CBrush(RGB(192, 192, 192)),
                                CBrush(RGB(128, 128, 128)), CBrush(RGB(64, 64, 64)),
                                CBrush(RGB(0, 0, 0))};
    static CBrush hollow = [] {
        CBrush b;
        b.m_bHollow = true;
        b.m_bCreated = true;
        return b;
    }();
    CBrush* p = nIndex >= WHITE_BRUSH && nIndex <= BLACK_BRUSH ? &brushes[nIndex]
                : nIndex == NULL_BRUSH                         ? &hollow
                                                               : nullptr;
    if (p)
        p->m_bStock = true;
    return p;
}

HGDIOBJ GetStockObject(int nIndex)
{
    if (CPen* pen = CPen::Stock(nIndex))
        return pen;
    return CBrush::Stock(nIndex);
}

std::vector<std::unique_ptr<CGdiObject>>& GdiHandles()
{
    // The objects the platform's Create functions made, until DeleteObject frees them.
    static std::vector<std::unique_ptr<CGdiObject>> handles;
    return handles;
}

HGDIOBJ AfxAddGdiHandle(std::unique_ptr<CGdiObject> pObject)
{
    GdiHandles().push_back(std::move(pObject));
    return GdiHandles().back().get();
}

BOOL DeleteObject(HGDIOBJ hObject)
{
    auto& handles = GdiHandles();
    const auto it = std::find_if(handles.begin(), handles.end(),
                                 [hObject](const auto& h) { return h.get() == hObject; });
    if (it == handles.end())
        return FALSE;
    handles.erase(it);
    return TRUE;
}

// ---- bitmaps ---------------------------------------------------------------------------

CBitmap::CBitmap() = default;
CBitmap::~CBitmap() = default;

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int nWidth, int nHeight)
{
    if (m_pImage || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    auto image = std::make_unique<QImage>(nWidth, nHeight, QImage::Format_RGB32);
    if (image->isNull())
        return FALSE;
    image->fill(0xFF000000u);
    m_pImage = std::move(image);
    return TRUE;
}

void CBitmap::Attach(std::unique_ptr<QImage> image) { m_pImage = std::move(image); }

BOOL CBitmap::DeleteObject()
{
    if (!m_pImage)
        return FALSE;
    m_pImage.reset();
    return TRUE;
}

CSize CBitmap::GetSize() const
{
    return m_pImage ? CSize(m_pImage->width(), m_pImage->height()) : CSize();
}
