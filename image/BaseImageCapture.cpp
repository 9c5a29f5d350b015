// Writing what a device context shows into a BMP file.
#include "BaseImage.h"

#include "BmpFormat.h"

#include "framework/core/Error.h"
#include "framework/core/File.h"

#include <cstring>

namespace {

// The screen's device context for the length of one scope.
class ScreenDC {
public:
    ScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~ScreenDC() { ::ReleaseDC(nullptr, m_hDC); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// The header asked of the platform: palette depths kept, deeper ones as 24 bits.
BITMAPINFOHEADER HeaderFor(const BITMAP& bm)
{
    int bitCount = bm.bmPlanes * bm.bmBitsPixel;
    if (bitCount > 8)
        bitCount = 24;
    return {sizeof(BITMAPINFOHEADER),
            bm.bmWidth,
            bm.bmHeight,
            1,
            WORD(bitCount),
            BI_RGB,
            0,
            0,
            0,
            0,
            0};
}

} // namespace

BOOL CBaseImage::CaptureToFile(CDC* pDC, CDC* pSrcDC, std::string strPath)
{
    CDC memDC;
    CBitmap bitmap;
    memDC.CreateCompatibleDC(pDC);
    bitmap.CreateCompatibleBitmap(pDC, kCaptureWidth, kCaptureHeight);
    CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
    memDC.BitBlt(0, 0, kCaptureWidth, kCaptureHeight, pSrcDC, 0, 0, SRCCOPY);
    const BOOL bResult = WriteBitmapFile(&bitmap, std::move(strPath));
    memDC.SelectObject(pOldBitmap);
    memDC.DeleteDC();
    bitmap.DeleteObject();
    return bResult;
}

BOOL CBaseImage::WriteBitmapFile(HBITMAP hBitmap, std::string strPath)
{
    SetLastError(0);
    return ReplaceFile(strPath.c_str(),
                       [hBitmap](const ByteSink& write) { return WriteBitmap(hBitmap, write); })
               ? TRUE
               : FALSE;
}

BOOL CBaseImage::WriteBitmap(HBITMAP hBitmap, const ByteSink& write)
{
    BITMAP bm;
    if (!::GetObject(hBitmap, sizeof bm, &bm))
        return FALSE;
    const ScreenDC screen;
    BITMAPINFOHEADER bi = HeaderFor(bm);
    const std::size_t colors = bi.biBitCount == 24 ? 0 : std::size_t(1) << bi.biBitCount;
    const std::size_t headBytes = sizeof bi + sizeof(RGBQUAD) * colors;
    auto head = bmp::AllocZeroed(headBytes);
    if (!head)
        return FALSE;
    std::memcpy(head.get(), &bi, sizeof bi);
    auto* pInfo = reinterpret_cast<BITMAPINFO*>(head.get());
    if (!::GetDIBits(screen, hBitmap, 0, UINT(bm.bmHeight), nullptr, pInfo, DIB_RGB_COLORS))
        return FALSE;
    std::memcpy(&bi, head.get(), sizeof bi);
    if (bi.biSizeImage == 0)
        bi.biSizeImage = DWORD(DibRowBytes(bi.biWidth, bi.biBitCount) * bi.biHeight);
    const std::size_t total = headBytes + bi.biSizeImage;
    if (total > std::size_t(bmp::kMaxPixelBytes))
        return FALSE;
    auto buffer = bmp::AllocZeroed(total);
    if (!buffer)
        return FALSE;
    std::memcpy(buffer.get(), head.get(), headBytes);
    pInfo = reinterpret_cast<BITMAPINFO*>(buffer.get());
    return ::GetDIBits(screen, hBitmap, 0, UINT(bm.bmHeight), buffer.get() + headBytes, pInfo,
                       DIB_RGB_COLORS) &&
                   bmp::WriteFile(write, buffer.get(), headBytes, buffer.get() + headBytes,
                                  bi.biSizeImage)
               ? TRUE
               : FALSE;
}
