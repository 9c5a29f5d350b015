// Writing the image as a BMP file: through a temporary file that replaces the target only when
// it is complete, so that a failed save leaves an existing file as it was.
#include "BaseImage.h"

#include "BmpFormat.h"
#include "framework/Error.h"
#include "framework/File.h"

std::size_t CBaseImage::InfoBytes() const
{
    const BITMAPINFOHEADER& bi = m_pBmInfo->bmiHeader;
    const std::size_t masks = bi.biCompression == BI_BITFIELDS && bi.biSize == 40 ? 12 : 0;
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

BOOL CBaseImage::SaveBMP(const char* pszPath)
{
    if (pszPath)
        m_strFileName = pszPath;
    if (!m_pBmInfo || !m_pBits || m_strFileName.empty()) {
        SetLastError(0);
        return FALSE;
    }
    const std::size_t offBits = bmp::kFileHeaderBytes + InfoBytes();
    m_bmfHeader = {bmp::kType, DWORD(offBits + PixelBytes()), 0, 0, DWORD(offBits)};
    return WriteFile(m_strFileName.c_str());
}

BOOL CBaseImage::WriteFile(const char* pszPath) const
{
    // Behind the pixel rows, one byte more than bfSize counts.
    const BYTE trailer = 0;
    CFileReplacement file;
    return file.Open(pszPath) && file.Write(&m_bmfHeader, sizeof m_bmfHeader) &&
                   file.Write(m_pBmInfo, InfoBytes()) && file.Write(m_pBits, PixelBytes()) &&
                   file.Write(&trailer, 1) && file.Commit()
               ? TRUE
               : FALSE;
}
