// Reading a BMP file. Nothing in a header is trusted: before the image takes the data over,
// the info header, the colour table and every pixel byte that drawing or saving will touch
// are known to lie inside what was read.
#include "BaseImage.h"

#include "BmpFormat.h"

#include "framework/core/ByteOrder.h"
#include "framework/core/File.h"

#include <algorithm>
#include <cstring>

namespace {

using ReadAt = std::function<std::size_t(std::uint64_t at, void* p, std::size_t n)>;

// The info header as the image keeps it, and where the parts of the file lie in the data
// behind the file header.
struct Layout {
    BITMAPINFOHEADER bi{}; // a core header converted; lying fields mended by LocatePixels
    bool core = false;
    std::uint64_t headerEnd = 0; // behind the header and the masks behind a 40-byte one
    std::uint64_t tableEntries = 0;
    std::uint64_t entryBytes = 4;
    std::uint64_t tableEnd = 0;
    std::uint64_t bitsOffset = 0;
    int nColors = 0;
};

bool IsKnownHeaderSize(DWORD n)
{
    return n == kCoreHeaderBytes || n == kInfoHeaderBytes || n == kV2HeaderBytes ||
           n == kV3HeaderBytes || n == kOs2HeaderBytes || n == kV4HeaderBytes ||
           n == kV5HeaderBytes;
}

bool ParseCoreHeader(const BYTE* p, Layout& l)
{
    const int bits = LoadLE16(p + bmp::kCoreBitCountAt);
    l.core = true;
    l.bi = {kInfoHeaderBytes,
            LoadLE16(p + bmp::kCoreWidthAt),
            LoadLE16(p + bmp::kCoreHeightAt),
            LoadLE16(p + bmp::kCorePlanesAt),
            WORD(bits),
            BI_RGB,
            0,
            0,
            0,
            0,
            0};
    l.headerEnd = kCoreHeaderBytes;
    l.entryBytes = sizeof(RGBTRIPLE);
    return l.bi.biWidth > 0 && l.bi.biHeight > 0 && l.bi.biPlanes == 1 &&
           (bits == 1 || bits == 4 || bits == 8 || bits == 24);
}

bool ParseInfoHeader(const BYTE* p, std::uint64_t length, Layout& l)
{
    std::memcpy(&l.bi, p, sizeof l.bi);
    const BITMAPINFOHEADER& bi = l.bi;
    l.headerEnd = bi.biSize;
    if (bi.biCompression == BI_BITFIELDS && bi.biSize == kInfoHeaderBytes)
        l.headerEnd += bmp::kMaskBytes;
    return bi.biWidth > 0 && bi.biHeight != 0 && bi.biHeight != INT_MIN && bi.biPlanes == 1 &&
           DibDepthFitsCompression(bi) && l.headerEnd <= length;
}

// Reads the header at the start of the data; the colour table it announces is not yet
// checked against the data's length.
bool ParseHeader(const BYTE* p, std::uint64_t length, Layout& l)
{
    if (length < 4 || !IsKnownHeaderSize(LoadLE32(p)) || length < LoadLE32(p))
        return false;
    if (LoadLE32(p) == kCoreHeaderBytes ? !ParseCoreHeader(p, l) : !ParseInfoHeader(p, length, l))
        return false;
    const DWORD used = l.core ? 0 : l.bi.biClrUsed;
    if (l.bi.biBitCount <= 8) {
        l.nColors = 1 << l.bi.biBitCount;
        l.tableEntries = used == 0 || used > DWORD(l.nColors) ? l.nColors : used;
    } else {
        // Deeper images may carry a table for palette devices; it only moves the pixels.
        l.tableEntries = used;
    }
    l.tableEnd = l.headerEnd + l.tableEntries * l.entryBytes;
    return true;
}

// Places the pixels at bfOffBits when that lies at or behind the colour table, else right
// behind it, and checks them against the length; mends what the image's header would
// otherwise say wrongly about the data it keeps.
bool LocatePixels(Layout& l, std::uint64_t length, DWORD bfOffBits)
{
    BITMAPINFOHEADER& bi = l.bi;
    if (l.nColors != 0 && l.tableEnd > length)
        return false;
    const std::int64_t offset = std::int64_t(bfOffBits) - std::int64_t(bmp::kFileHeaderBytes);
    const std::uint64_t least = l.nColors != 0 ? l.tableEnd : l.headerEnd;
    l.bitsOffset = offset >= std::int64_t(least) ? std::uint64_t(offset) : l.tableEnd;
    if (l.bitsOffset > length)
        return false;
    const std::uint64_t available = length - l.bitsOffset;
    if (bi.biCompression == BI_RLE8 || bi.biCompression == BI_RLE4) {
        if (bi.biSizeImage == 0)
            bi.biSizeImage = DWORD(available);
        if (bi.biSizeImage == 0 || bi.biSizeImage > available)
            return false;
    } else {
        const auto rowBytes = std::uint64_t(DibRowBytes(bi.biWidth, bi.biBitCount));
        const std::uint64_t rows = bi.biHeight < 0 ? -std::int64_t(bi.biHeight) : bi.biHeight;
        if (rows > available / rowBytes)
            return false;
        if (bi.biSizeImage < rowBytes * rows || bi.biSizeImage > available)
            bi.biSizeImage = DWORD(rowBytes * rows);
    }
    if (bi.biClrUsed != DWORD(l.nColors))
        bi.biClrUsed = 0;
    return true;
}

// A core header, an OS/2 header (whose colour table other readers disagree on), or a colour
// table shorter than the bit depth allows gets an info block of its own: a 40-byte header and
// a full table of RGBQUADs, the missing entries black.
bool NeedsOwnInfo(const Layout& l)
{
    return l.core || l.bi.biSize == kOs2HeaderBytes || l.tableEntries < std::uint64_t(l.nColors);
}

FileBlock RebuildInfo(const BYTE* data, const Layout& l)
{
    auto info = bmp::AllocZeroed(kInfoHeaderBytes + sizeof(RGBQUAD) * l.nColors);
    if (!info)
        return nullptr;
    BITMAPINFOHEADER bi = l.bi;
    bi.biSize = kInfoHeaderBytes;
    std::memcpy(info.get(), &bi, sizeof bi);
    // Only a palette image keeps a table; a deeper one's table (which only moved its pixels)
    // is not carried over.
    auto* table = reinterpret_cast<RGBQUAD*>(info.get() + kInfoHeaderBytes);
    const std::uint64_t entries = std::min<std::uint64_t>(l.tableEntries, std::uint64_t(l.nColors));
    for (std::uint64_t i = 0; i < entries; ++i) {
        const BYTE* e = data + l.headerEnd + i * l.entryBytes;
        table[i] = {e[0], e[1], e[2], 0};
    }
    return info;
}

// Writes the mended fields back, and lets a colour profile that the image does not keep go.
void MendInPlace(BYTE* data, const Layout& l)
{
    std::memcpy(data, &l.bi, sizeof l.bi);
    if (l.bi.biSize < kV5HeaderBytes)
        return;
    const DWORD space = LoadLE32(data + bmp::kColorSpaceAt);
    if (space == bmp::kProfileEmbedded || space == bmp::kProfileLinked) {
        StoreLE32(data + bmp::kColorSpaceAt, bmp::kColorSpaceSrgb);
        StoreLE32(data + bmp::kProfileDataAt, 0);
        StoreLE32(data + bmp::kProfileSizeAt, 0);
    }
}

// Reads everything behind the file header. The data ends at bfSize, or at the end of the file
// when bfSize is too small to cover the headers and the colour table.
bool ReadBmpFile(std::uint64_t fileLength, const ReadAt& read, std::uint64_t offset,
                 BITMAPFILEHEADER& bf, FileBlock& data, Layout& l, std::uint64_t& length)
{
    if (offset > fileLength || read(offset, &bf, sizeof bf) != sizeof bf)
        return false;
    fileLength -= offset;
    if (bf.bfType != kBmpFileType || bf.bfSize > fileLength ||
        fileLength - sizeof bf > std::uint64_t(INT_MAX))
        return false;
    const std::uint64_t all = fileLength - sizeof bf;
    data = AllocFileBlock(all);
    if (!data || read(offset + sizeof bf, data.get(), all) != all ||
        !ParseHeader(data.get(), all, l))
        return false;
    const std::uint64_t covered = sizeof bf + (l.nColors != 0 ? l.tableEnd : l.headerEnd);
    length = bf.bfSize < covered ? all : bf.bfSize - sizeof bf;
    return true;
}

} // namespace

BOOL CBaseImage::LoadBMP(const char* pszPath, std::uint64_t offset)
{
    CFileHandle file;
    return pszPath && file.Open(pszPath, CFileHandle::Mode::ReadExisting) &&
           LoadBMP(file, pszPath, offset);
}

BOOL CBaseImage::LoadBMP(CFileHandle& file, std::string name, std::uint64_t offset)
{
    std::uint64_t length = 0;
    if (!file.IsOpen() || !file.Length(length))
        return FALSE;
    return LoadBMPFrom(
        length,
        [&](std::uint64_t at, void* p, std::size_t n) {
            return file.Seek(at) ? file.Read(p, n) : 0;
        },
        std::move(name), offset);
}

BOOL CBaseImage::LoadBMP(const std::vector<BYTE>& bytes)
{
    const auto read = [&](std::uint64_t at, void* p, std::size_t n) {
        n = at < bytes.size() ? std::size_t(std::min<std::uint64_t>(n, bytes.size() - at)) : 0;
        std::copy_n(bytes.data() + at, n, static_cast<BYTE*>(p));
        return n;
    };
    return LoadBMPFrom(bytes.size(), read, std::string(), 0);
}

BOOL CBaseImage::LoadBMPFrom(std::uint64_t length, const ReadAt& read, std::string name,
                             std::uint64_t offset)
{
    // Everything is read into an image of its own and taken over only when it all worked.
    CBaseImage loaded;
    FileBlock data;
    Layout l;
    std::uint64_t dataLength = 0;
    if (!ReadBmpFile(length, read, offset, loaded.m_bmfHeader, data, l, dataLength) ||
        !LocatePixels(l, dataLength, loaded.m_bmfHeader.bfOffBits))
        return FALSE;
    FileBlock info;
    if (NeedsOwnInfo(l)) {
        info = RebuildInfo(data.get(), l);
        if (!info)
            return FALSE;
    } else {
        MendInPlace(data.get(), l);
    }
    loaded.Adopt(std::move(data), std::move(info), l.bitsOffset, l.nColors);
    if (loaded.m_nColors != 0 && !loaded.BuildPalette(TRUE))
        return FALSE;
    loaded.m_strFileName = std::move(name);
    Swap(loaded);
    return TRUE;
}

void CBaseImage::Swap(CBaseImage& other) noexcept
{
    std::swap(m_bmfHeader, other.m_bmfHeader);
    std::swap(m_nRowPad, other.m_nRowPad);
    std::swap(m_nColors, other.m_nColors);
    std::swap(m_strFileName, other.m_strFileName);
    std::swap(m_nBitsOffset, other.m_nBitsOffset);
    std::swap(m_fileBlock, other.m_fileBlock);
    std::swap(m_infoBlock, other.m_infoBlock);
    std::swap(m_bitsBlock, other.m_bitsBlock);
    std::swap(m_logPaletteBlock, other.m_logPaletteBlock);
    std::swap(m_palette, other.m_palette);
    SyncViews();
    other.SyncViews();
}

void CBaseImage::Adopt(FileBlock fileData, FileBlock info, std::size_t bitsOffset, int nColors)
{
    ReleaseImageData();
    ReleasePalette();
    m_fileBlock = std::move(fileData);
    m_infoBlock = std::move(info);
    m_nBitsOffset = bitsOffset;
    SyncViews();
    m_nColors = nColors;
}
