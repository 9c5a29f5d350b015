// Showing the image on a device context, with its palette selected for the length of the copy.
#include "BaseImage.h"

#include <cstdlib>
#include <vector>

BOOL CBaseImage::Draw(int x, int y, HDC hDC)
{
    if (!m_pBits || !m_pBmInfo)
        return FALSE;
    HPALETTE hOldPalette = nullptr;
    if (m_pPalette) {
        hOldPalette = ::SelectPalette(hDC, m_pPalette->GetSafeHandle(), TRUE);
        ::RealizePalette(hDC);
    } else {
        // The system palette is the image's only for this copy, like its own would be.
        const HPALETTE hBefore = hDC ? hDC->GetCurrentPalette() : nullptr;
        if (UseSystemPalette(hDC)) {
            ::RealizePalette(hDC);
            hOldPalette = hBefore;
        }
    }
    ::SetStretchBltMode(hDC, COLORONCOLOR);
    const CSize size = GetSize();
    const auto rows = DWORD(std::abs(size.cy));
    ::SetDIBitsToDevice(hDC, x, y, DWORD(size.cx), rows, 0, 0, 0, rows, m_pBits, m_pBmInfo,
                        DIB_RGB_COLORS);
    if (hOldPalette)
        ::SelectPalette(hDC, hOldPalette, TRUE);
    return TRUE;
}

BOOL CBaseImage::UseSystemPalette(HDC hDC)
{
    if (m_nColors == 0 || !(::GetDeviceCaps(hDC, RASTERCAPS) & RC_PALETTE))
        return FALSE;
    const int n = ::GetDeviceCaps(hDC, SIZEPALETTE);
    if (n <= 0 || n > 0xFFFF)
        return FALSE;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * n);
    auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(block.data());
    pLogPalette->palVersion = 0x300;
    pLogPalette->palNumEntries = WORD(n);
    ::GetSystemPaletteEntries(hDC, 0, UINT(n), pLogPalette->palPalEntry);
    auto palette = std::make_unique<CPalette>();
    if (!palette->CreatePalette(pLogPalette))
        return FALSE;
    ::SelectPalette(hDC, palette->GetSafeHandle(), TRUE);
    // Kept until the next one replaces it, so that the context never holds a deleted palette
    // while this image draws on it.
    m_systemPalette = std::move(palette);
    return TRUE;
}

void CBaseImage::RenderToBitmap()
{
    m_bitmap = std::make_unique<CBitmap>();
    SyncViews();
    const HDC hDisplay = ::GetDC(nullptr);
    CDC memDC;
    memDC.CreateCompatibleDC(hDisplay);
    const CSize size = GetSize();
    m_pBitmap->CreateCompatibleBitmap(hDisplay, size.cx, std::abs(size.cy));
    memDC.SelectObject(m_pBitmap);
    Draw(0, 0, &memDC);
    memDC.DeleteDC();
    ::ReleaseDC(nullptr, hDisplay);
}
