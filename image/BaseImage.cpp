#include "BaseImage.h"

#include "BmpFormat.h"

#include <cstring>
#include <new>

namespace {

// Bytes of a row of a new image before its pad bytes; 0 for a colour count it can't have.
std::int64_t RowBytesFor(int nWidth, int nColors)
{
    switch (nColors) {
    case 0:
        return 3 * std::int64_t(nWidth);
    case 256:
        return nWidth;
    case 16:
        return nWidth < 2 ? 0 : (std::int64_t(nWidth) + 1) / 2;
    case 2:
        return nWidth < 8 ? 0 : (std::int64_t(nWidth) + 7) / 8;
    default:
        return 0;
    }
}

} // namespace

// 1240, not the canvas's 1280: the image's published defaults have always been these.
CBaseImage::CBaseImage() : m_nDefaultWidth(1240), m_nDefaultHeight(1024) {}

CBaseImage::~CBaseImage()
{
    ReleaseImageData();
    m_logPaletteBlock.reset();
    m_palette.reset();
    m_systemPalette.reset();
    m_bitmap.reset();
}

void CBaseImage::SyncViews()
{
    m_pFileData = m_fileBlock.get();
    m_pBmInfo = reinterpret_cast<BITMAPINFO*>(m_infoBlock ? m_infoBlock.get() : m_pFileData);
    m_pBits = m_bitsBlock ? m_bitsBlock.get() : m_pFileData ? m_pFileData + m_nBitsOffset : nullptr;
    m_pLogPalette = reinterpret_cast<LOGPALETTE*>(m_logPaletteBlock.get());
    m_pPalette = m_palette.get();
    m_pBitmap = m_bitmap.get();
}

void CBaseImage::ReleaseImageData()
{
    m_fileBlock.reset();
    m_infoBlock.reset();
    m_bitsBlock.reset();
    m_nBitsOffset = 0;
    SyncViews();
}

void CBaseImage::ReleasePalette()
{
    m_palette.reset();
    m_logPaletteBlock.reset();
    SyncViews();
}

BOOL CBaseImage::AllocBmInfo(int nColors)
{
    if (nColors < 0 || nColors > 256)
        return FALSE;
    ReleaseImageData();
    m_infoBlock = bmp::AllocZeroed(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * (nColors + 1));
    SyncViews();
    return m_infoBlock ? TRUE : FALSE;
}

BOOL CBaseImage::CreateHeader(int nWidth, int nHeight, int nColors)
{
    const std::int64_t rowBytes = nWidth > 0 && nHeight > 0 ? RowBytesFor(nWidth, nColors) : 0;
    const int rowPad = int((4 - rowBytes % 4) % 4);
    if (rowBytes == 0 || rowBytes + rowPad > bmp::kMaxPixelBytes / nHeight || !AllocBmInfo(nColors))
        return FALSE;
    const WORD bitCount = nColors == 0 ? 24 : nColors == 256 ? 8 : nColors == 16 ? 4 : 1;
    const auto sizeImage = DWORD((rowBytes + rowPad) * nHeight);
    m_pBmInfo->bmiHeader = {
        sizeof(BITMAPINFOHEADER), nWidth, nHeight, 1, bitCount, BI_RGB, sizeImage, 0, 0, 0, 0};
    m_nColors = nColors;
    m_nRowPad = rowPad;
    return TRUE;
}

BOOL CBaseImage::NewPalette()
{
    ReleasePalette();
    m_logPaletteBlock = bmp::AllocZeroed(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * m_nColors);
    m_palette.reset(new (std::nothrow) CPalette);
    if (!m_logPaletteBlock || !m_palette) {
        ReleasePalette();
        return FALSE;
    }
    SyncViews();
    m_pLogPalette->palVersion = 0x300;
    m_pLogPalette->palNumEntries = WORD(m_nColors);
    return TRUE;
}

RGBQUAD* CBaseImage::ColorTable() const
{
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_pBmInfo) +
                                      m_pBmInfo->bmiHeader.biSize);
}

BOOL CBaseImage::BuildPalette(BOOL bFromColorTable)
{
    if (!m_pBmInfo || !NewPalette())
        return FALSE;
    PALETTEENTRY* entries = m_pLogPalette->palPalEntry;
    RGBQUAD* table = ColorTable();
    if (bFromColorTable) {
        for (int i = 0; i < m_nColors; ++i)
            entries[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    } else {
        // The 6 × 6 × 6 colour cube, blue varying fastest, as far as the table reaches.
        int k = 0;
        for (int r = 0; r <= 255 && k < m_nColors; r += 51)
            for (int g = 0; g <= 255 && k < m_nColors; g += 51)
                for (int b = 0; b <= 255 && k < m_nColors; b += 51, ++k) {
                    entries[k] = {BYTE(r), BYTE(g), BYTE(b), 0};
                    table[k] = {BYTE(b), BYTE(g), BYTE(r), 0};
                }
    }
    m_pPalette->CreatePalette(m_pLogPalette);
    return TRUE;
}

int CBaseImage::FindColorIndex(COLORREF cr) const
{
    if (!m_pLogPalette)
        return -1;
    for (int i = 0; i < m_nColors; ++i) {
        const PALETTEENTRY& e = m_pLogPalette->palPalEntry[i];
        if (e.peRed == GetRValue(cr) && e.peGreen == GetGValue(cr) && e.peBlue == GetBValue(cr))
            return i;
    }
    return -1;
}

CSize CBaseImage::GetSize() const
{
    if (!m_pBmInfo)
        return CSize();
    return CSize(m_pBmInfo->bmiHeader.biWidth, m_pBmInfo->bmiHeader.biHeight);
}

BOOL CBaseImage::Create(int nWidth, int nHeight, int nColors, COLORREF crFill)
{
    if (!CreateHeader(nWidth, nHeight, nColors))
        return FALSE;
    if (nColors == 0)
        ReleasePalette();
    else if (!BuildPalette(FALSE))
        return FALSE;
    m_bitsBlock = bmp::AllocZeroed(m_pBmInfo->bmiHeader.biSizeImage);
    SyncViews();
    if (!m_pBits)
        return FALSE;
    FillPixels(crFill);
    return TRUE;
}

void CBaseImage::FillPixels(COLORREF crFill)
{
    const std::size_t size = m_pBmInfo->bmiHeader.biSizeImage;
    const int index = m_nColors == 2 ? 0 : FindColorIndex(crFill);
    const BYTE fill = BYTE(index < 0 ? 0 : index);
    if (m_nColors == 256 || m_nColors == 2) {
        std::memset(m_pBits, fill, size);
    } else if (m_nColors == 16) {
        std::memset(m_pBits, fill * 16 + fill, size);
    } else {
        const int width = m_pBmInfo->bmiHeader.biWidth;
        const std::size_t stride = 3 * std::size_t(width) + m_nRowPad;
        for (BYTE* row = m_pBits; row < m_pBits + size; row += stride)
            for (int x = 0; x < width; ++x) {
                row[3 * x] = GetBValue(crFill);
                row[3 * x + 1] = GetGValue(crFill);
                row[3 * x + 2] = GetRValue(crFill);
            }
    }
}

void CBaseImage::CreateFromColorTable(int nWidth, int nHeight, const COLORREF* pColors)
{
    if (!pColors || !CreateHeader(nWidth, nHeight, 256))
        return;
    const DWORD sizeImage = m_pBmInfo->bmiHeader.biSizeImage;
    m_bitsBlock = bmp::AllocZeroed(sizeImage);
    SyncViews();
    if (!m_pBits || !NewPalette())
        return;
    RGBQUAD* table = ColorTable();
    for (int i = 0; i < 256; ++i) {
        const COLORREF cr = pColors[i];
        m_pLogPalette->palPalEntry[i] = {GetRValue(cr), GetGValue(cr), GetBValue(cr), 0};
        table[i] = {GetBValue(cr), GetGValue(cr), GetRValue(cr), 0};
    }
    m_pPalette->CreatePalette(m_pLogPalette);
    m_bmfHeader = {kBmpFileType, sizeImage + bmp::kOffBits8, 0, 0, bmp::kOffBits8};
}
