// Device-independent bitmaps: the BMP records, the transfer of DIB rows to and from device
// contexts, the bitmap description and the screen's device context.
#pragma once

#include "Gdi.h"

#include <cstddef>

// Compressions of a DIB.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr DWORD BI_JPEG = 4;
constexpr DWORD BI_PNG = 5;

// What a DIB's colour table holds.
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

// bfType of every BMP file: "BM".
constexpr WORD kBmpFileType = 0x4D42;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// The 12-byte header of the oldest BMP files, whose colour table holds RGBTRIPLEs.
struct BITMAPCOREHEADER {
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
};
static_assert(sizeof(BITMAPCOREHEADER) == 12);

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct RGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
};
static_assert(sizeof(RGBTRIPLE) == 3);

// An info header with its colour table behind it. Headers longer than 40 bytes keep the same
// first 40 bytes; the table then begins biSize bytes after the start. With BI_BITFIELDS the
// red, green and blue masks are the three DWORDs at byte 40: behind a 40-byte header, or
// inside a longer one.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// The description of a bitmap. bmBits is the 32-bit slot of the platform's 24-byte record; a
// device bitmap's bits are not addressable, so it is always 0.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    DWORD bmBits;
};
static_assert(sizeof(BITMAP) == 24);

// The sizes of the info headers: the 12-byte core one, the 40-byte one, its 52- and 56-byte
// extensions (masks in the header), the 64-byte OS/2 one and the 108- and 124-byte ones.
constexpr DWORD kCoreHeaderBytes = 12;
constexpr DWORD kInfoHeaderBytes = 40;
constexpr DWORD kV2HeaderBytes = 52;
constexpr DWORD kV3HeaderBytes = 56;
constexpr DWORD kOs2HeaderBytes = 64;
constexpr DWORD kV4HeaderBytes = 108;
constexpr DWORD kV5HeaderBytes = 124;

// Whether a DIB with this header's depth, compression and row order can hold pixels: RLE only
// bottom-up and at its own depth, bit fields at 16 or 32 bits and not with the 64-byte OS/2
// header, which gives that code another meaning.
bool DibDepthFitsCompression(const BITMAPINFOHEADER& bi);

// Bytes of one DIB row: bits per row rounded up to a multiple of 32 bits.
constexpr std::int64_t DibRowBytes(std::int64_t width, int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// Copies DIB rows onto the context's surface, unscaled, with Win32's rules: (xSrc, ySrc) is
// the lower-left corner of the source rectangle of a bottom-up DIB (upper-left of a top-down
// one); lpvBits holds cScanLines rows from scan line uStartScan on, and nothing outside them
// is read. An RLE DIB reads at most biSizeImage bytes and draws only the pixels its runs set.
// The destination is clipped to the surface. Returns the number of scan lines given, or 0
// when the header is not one this platform draws (the colour use must be DIB_RGB_COLORS).
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                      UINT uStartScan, UINT cScanLines, const void* lpvBits,
                      const BITMAPINFO* lpbmi, UINT fuColorUse);

// Reads a compatible bitmap as DIB rows. Without lpvBits it completes the header (a zero
// biBitCount asks for the bitmap's own format) and fills in biSizeImage. With lpvBits it writes
// cScanLines rows from uStartScan on, in the header's order (bottom-up for a positive height),
// as 24 or 32 bits per pixel. Returns the number of scan lines written (nonzero for a completed
// header), or 0 on failure.
int GetDIBits(HDC hdc, HBITMAP hbm, UINT uStartScan, UINT cScanLines, void* lpvBits,
              BITMAPINFO* lpbmi, UINT uUsage);

// Fills a BITMAP for a bitmap; returns the bytes written, 0 for any other object or a buffer
// too small.
int GetObject(HGDIOBJ hObject, int cbBuffer, void* lpvObject);

// The picture of a BMP file held in memory as a new compatible bitmap, drawn as
// SetDIBitsToDevice draws it (so without any image-format plugin). FALSE, leaving the bitmap
// as it was, when the bytes are not a whole BMP file of a kind this platform draws.
BOOL LoadBitmapFile(const BYTE* pData, std::size_t nSize, CBitmap& bitmap);
