// Writing the image as a BMP file: through a temporary file that replaces the target only when
// it is complete, so that a failed save leaves an existing file as it was.
#include "BaseImage.h"

#include "BmpFormat.h"

#include "framework/core/Error.h"
#include "framework/core/File.h"

std::size_t CBaseImage::InfoBytes() const
{
    const BITMAPINFOHEADER& bi = m_pBmInfo->bmiHeader;
    const std::size_t masks =
        bi.biCompression == BI_BITFIELDS && bi.biSize == kInfoHeaderBytes ? bmp::kMaskBytes : 0;
    return bi.biSize + masks + sizeof(RGBQUAD) * m_nColors;
}

std::size_t CBaseImage::PixelBytes() const
{
    const BITMAPINFOHEADER& bi = m_pBmInfo->bmiHeader;
    if (bi.biSizeImage != 0)
        return bi.biSizeImage;
    const std::int64_t rows = bi.biHeight < 0 ? -std::int64_t(bi.biHeight) : bi.biHeight;
    return std::size_t(DibRowBytes(bi.biWidth, bi.biBitCount) * rows);
}

BITMAPFILEHEADER CBaseImage::FileHeader() const
{
    return bmp::FileHeaderFor(InfoBytes(), PixelBytes());
}

BOOL CBaseImage::SaveBMP(const char* pszPath)
{
    if (pszPath)
        m_strFileName = pszPath;
    if (!m_pBmInfo || !m_pBits || m_strFileName.empty()) {
        SetLastError(0);
        return FALSE;
    }
    m_bmfHeader = FileHeader();
    return ReplaceFile(m_strFileName.c_str(),
                       [this](const ByteSink& write) { return WriteTo(write) != FALSE; })
               ? TRUE
               : FALSE;
}

BOOL CBaseImage::WriteTo(const ByteSink& write) const
{
    if (!m_pBmInfo || !m_pBits) {
        SetLastError(0);
        return FALSE;
    }
    // Behind the pixel rows, one byte more than bfSize counts.
    return bmp::WriteFile(write, m_pBmInfo, InfoBytes(), m_pBits, PixelBytes(), 1) ? TRUE : FALSE;
}
