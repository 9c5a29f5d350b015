#include "Dib.h"

#include "DibRows.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// A half-open range of coordinates, narrowed step by step.
struct Range {
    std::int64_t lo;
    std::int64_t hi;
    void Cut(std::int64_t a, std::int64_t b)
    {
        lo = std::max(lo, a);
        hi = std::min(hi, b);
    }
    bool Empty() const { return lo >= hi; }
};

bool IsPixelSurface(const QImage* s)
{
    return s && !s->isNull() &&
           (s->format() == QImage::Format_RGB32 || s->format() == QImage::Format_ARGB32 ||
            s->format() == QImage::Format_ARGB32_Premultiplied);
}

bool IsRle(DWORD compression) { return compression == BI_RLE8 || compression == BI_RLE4; }

// Writes the visible rows of an uncompressed DIB; scan line `line` is row line − first of bits.
void DrawRows(const dib::Format& f, const BYTE* bits, UINT first, const dib::Window& win)
{
    for (int line = win.line0; line < win.line1; ++line) {
        const BYTE* row = bits + (line - std::int64_t(first)) * f.rowBytes;
        dib::DecodeRow(f, row, win.x0, win.x1 - win.x0, win.At(win.x0, line));
    }
}

// Writes one bitmap row as 24- or 32-bit DIB pixels, pad bytes zeroed.
void EncodeRow(const std::uint32_t* px, int width, int bitCount, std::int64_t rowBytes, BYTE* out)
{
    int x = bitCount == 24 ? dib::Encode24Blocks(px, width, out) : 0;
    BYTE* p = out + std::int64_t(x) * (bitCount / 8);
    for (; x < width; ++x) {
        *p++ = BYTE(px[x]);
        *p++ = BYTE(px[x] >> 8);
        *p++ = BYTE(px[x] >> 16);
        if (bitCount == 32)
            *p++ = 0;
    }
    std::fill(p, out + rowBytes, BYTE(0));
}

} // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                      UINT uStartScan, UINT cScanLines, const void* lpvBits,
                      const BITMAPINFO* lpbmi, UINT fuColorUse)
{
    dib::Format f;
    if (!hdc || !lpvBits || !lpbmi || fuColorUse != DIB_RGB_COLORS || !dib::ReadFormat(lpbmi, f))
        return 0;
    QImage* s = hdc->Surface();
    if (!IsPixelSurface(s))
        return 0;
    CRect clip;
    hdc->GetClipBox(&clip);
    Range xs{xSrc, std::int64_t(xSrc) + w};
    xs.Cut(0, f.width);
    xs.Cut(std::int64_t(xSrc) - xDest + clip.left, std::int64_t(xSrc) - xDest + clip.right);
    Range lines{ySrc, std::int64_t(ySrc) + h};
    lines.Cut(0, f.height);
    lines.Cut(uStartScan, std::int64_t(uStartScan) + cScanLines);
    // Scan line `line` lands on surface row top + step × line.
    const int step = f.topDown ? 1 : -1;
    const std::int64_t top =
        f.topDown ? std::int64_t(yDest) - ySrc : std::int64_t(yDest) + ySrc + std::int64_t(h) - 1;
    if (f.topDown)
        lines.Cut(clip.top - top, clip.bottom - top);
    else
        lines.Cut(top - clip.bottom + 1, top - clip.top + 1);
    const int given = int(std::min<std::int64_t>(cScanLines, f.height));
    if (xs.Empty() || lines.Empty())
        return given;

    const std::int64_t stride = s->bytesPerLine() / 4;
    const std::int64_t left = xDest + (xs.lo - xSrc);
    const std::int64_t firstRow = top + step * lines.lo;
    const CPoint org = hdc->GetViewportOrg();
    auto* origin = reinterpret_cast<std::uint32_t*>(s->bits()) +
                   ((firstRow + org.y) * stride + (left + org.x));
    const dib::Window win{int(xs.lo),    int(xs.hi), int(lines.lo),
                          int(lines.hi), origin,     step * stride};
    const auto* bits = static_cast<const BYTE*>(lpvBits);
    if (IsRle(f.compression))
        dib::DrawRle(f, bits, lpbmi->bmiHeader.biSizeImage, win);
    else
        DrawRows(f, bits, uStartScan, win);
    const std::int64_t lastRow = top + step * (lines.hi - 1);
    hdc->SurfaceChanged(CRect(int(left), int(std::min(firstRow, lastRow)),
                              int(left + xs.hi - xs.lo), int(std::max(firstRow, lastRow) + 1)));
    return given;
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT uStartScan, UINT cScanLines, void* lpvBits,
              BITMAPINFO* lpbmi, UINT uUsage)
{
    if (!hdc || !hbm || !hbm->IsCreated() || !lpbmi || uUsage != DIB_RGB_COLORS)
        return 0;
    BITMAPINFOHEADER& bi = lpbmi->bmiHeader;
    const QImage& image = *hbm->Image();
    const int height = image.height();
    if (bi.biSize < sizeof(BITMAPINFOHEADER) || bi.biWidth != image.width() ||
        (bi.biHeight != height && bi.biHeight != -height) || bi.biCompression != BI_RGB ||
        (bi.biBitCount != 24 && bi.biBitCount != 32))
        return 0;
    const std::int64_t rowBytes = DibRowBytes(bi.biWidth, bi.biBitCount);
    // biSizeImage must be able to hold the size of the rows.
    if (rowBytes * height > std::int64_t(UINT32_MAX))
        return 0;
    if (!lpvBits) {
        bi.biSizeImage = DWORD(rowBytes * height);
        return 1;
    }
    if (uStartScan >= UINT(height))
        return 0;
    const int lines = int(std::min<std::int64_t>(cScanLines, height - std::int64_t(uStartScan)));
    auto* out = static_cast<BYTE*>(lpvBits);
    for (int i = 0; i < lines; ++i) {
        const int line = int(uStartScan) + i;
        const int y = bi.biHeight > 0 ? height - 1 - line : line;
        const auto* px = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        EncodeRow(px, bi.biWidth, bi.biBitCount, rowBytes, out + i * rowBytes);
    }
    return lines;
}

int GetObject(HGDIOBJ hObject, int cbBuffer, void* lpvObject)
{
    const auto* bitmap = dynamic_cast<const CBitmap*>(hObject);
    if (!bitmap || !bitmap->IsCreated() || !lpvObject || cbBuffer < int(sizeof(BITMAP)))
        return 0;
    const CSize size = bitmap->GetSize();
    const BITMAP bm{0, size.cx, size.cy, size.cx * 4, 1, 32, 0};
    std::memcpy(lpvObject, &bm, sizeof bm);
    return int(sizeof bm);
}

BOOL LoadBitmapFile(const BYTE* pData, std::size_t nSize, CBitmap& bitmap)
{
    BITMAPFILEHEADER fh;
    if (!pData || bitmap.IsCreated() || nSize < sizeof fh + sizeof(BITMAPINFOHEADER))
        return FALSE;
    std::memcpy(&fh, pData, sizeof fh);
    if (fh.bfType != 0x4D42 || fh.bfOffBits < sizeof fh + sizeof(BITMAPINFOHEADER) ||
        fh.bfOffBits > nSize)
        return FALSE;
    // The header and what follows it up to the rows, with room behind for the largest colour
    // table a header can name, which a short file leaves zero (black).
    std::vector<BYTE> info(pData + sizeof fh, pData + fh.bfOffBits);
    info.resize(info.size() + kV5HeaderBytes + 256 * sizeof(RGBQUAD));
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
    dib::Format f;
    if (bmi->bmiHeader.biSize > fh.bfOffBits - sizeof fh || !dib::ReadFormat(bmi, f))
        return FALSE;
    const std::size_t bytes = nSize - fh.bfOffBits;
    const std::int64_t needed =
        IsRle(f.compression) ? bmi->bmiHeader.biSizeImage : f.rowBytes * std::int64_t(f.height);
    if (needed > std::int64_t(bytes))
        return FALSE;
    CBitmap drawn;
    CDC dc;
    if (!drawn.CreateCompatibleBitmap(nullptr, f.width, f.height) ||
        !dc.CreateCompatibleDC(nullptr))
        return FALSE;
    dc.SelectObject(&drawn);
    if (!SetDIBitsToDevice(&dc, 0, 0, DWORD(f.width), DWORD(f.height), 0, 0, 0, UINT(f.height),
                           pData + fh.bfOffBits, bmi, DIB_RGB_COLORS))
        return FALSE;
    bitmap.Attach(std::make_unique<QImage>(std::move(*drawn.Image())));
    return TRUE;
}
