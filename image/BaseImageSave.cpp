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

BOOL CBaseImage::SaveBMP(const char* pszPath)
{
    if (pszPath)
        m_strFileName = pszPath;
    if (!m_pBmInfo || !m_pBits || m_strFileName.empty()) {
        SetLastError(0);
        return FALSE;
    }
    m_bmfHeader = FileHeader();
    CFileReplacement file;
    return file.Open(m_strFileName.c_str()) && WriteTo(file) && file.Commit() ? TRUE : FALSE;
}

BITMAPFILEHEADER CBaseImage::FileHeader() const
{
    const std::size_t offBits = bmp::kFileHeaderBytes + InfoBytes();
    return {bmp::kType, DWORD(offBits + PixelBytes()), 0, 0, DWORD(offBits)};
}

BOOL CBaseImage::WriteTo(CFileReplacement& file) const
{
    return WriteWith([&file](const void* p, std::size_t n) { return file.Write(p, n); });
}

BOOL CBaseImage::WriteTo(std::vector<BYTE>& bytes) const
{
    return WriteWith([&bytes](const void* p, std::size_t n) {
        const auto* b = static_cast<const BYTE*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return true;
    });
}

BOOL CBaseImage::WriteTo(const std::function<bool(const void*, std::size_t)>& write) const
{
    return WriteWith(write);
}

BOOL CBaseImage::WriteWith(const std::function<bool(const void*, std::size_t)>& write) const
{
    if (!m_pBmInfo || !m_pBits) {
        SetLastError(0);
        return FALSE;
    }
    // Behind the pixel rows, one byte more than bfSize counts.
    const BYTE trailer = 0;
    const BITMAPFILEHEADER header = FileHeader();
    return write(&header, sizeof header) && write(m_pBmInfo, InfoBytes()) &&
                   write(m_pBits, PixelBytes()) && write(&trailer, 1)
               ? TRUE
               : FALSE;
}
