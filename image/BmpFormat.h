// What the image's BMP reading, writing and capture share.
#pragma once

#include "framework/core/File.h"
#include "framework/core/Types.h"
#include "framework/gdi/Dib.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace bmp {

constexpr std::size_t kFileHeaderBytes = 14;
// The red, green and blue masks behind a 40-byte BI_BITFIELDS header.
constexpr std::size_t kMaskBytes = 12;
// A full colour table: 256 RGBQUADs.
constexpr std::size_t kFullTableBytes = 256 * 4;
// Where the pixels of an 8-bit file with a 40-byte header and a full table begin.
constexpr DWORD kOffBits8 = DWORD(kFileHeaderBytes + kInfoHeaderBytes + kFullTableBytes);

// Fields of the 12-byte core header.
constexpr std::size_t kCoreWidthAt = 4;
constexpr std::size_t kCoreHeightAt = 6;
constexpr std::size_t kCorePlanesAt = 8;
constexpr std::size_t kCoreBitCountAt = 10;

// Fields of the 124-byte header about colour profiles.
constexpr std::size_t kColorSpaceAt = 56;
constexpr std::size_t kProfileDataAt = 112;
constexpr std::size_t kProfileSizeAt = 116;
// Colour spaces that point at a profile elsewhere in the file, and the one the image uses
// instead when it lets the profile go.
constexpr DWORD kProfileEmbedded = 0x4D424544; // "MBED"
constexpr DWORD kProfileLinked = 0x4C494E4B;   // "LINK"
constexpr DWORD kColorSpaceSrgb = 0x73524742;  // "sRGB"
// The largest pixel block an image holds, so that every size of its file fits an int.
constexpr std::int64_t kMaxPixelBytes = INT_MAX - 4096;
// The file header of a BMP file whose info header, masks and colour table take infoBytes and
// whose pixel rows take pixelBytes.
inline BITMAPFILEHEADER FileHeaderFor(std::size_t infoBytes, std::size_t pixelBytes)
{
    const std::size_t offBits = kFileHeaderBytes + infoBytes;
    return {kBmpFileType, DWORD(offBits + pixelBytes), 0, 0, DWORD(offBits)};
}
// Hands a whole BMP file to `write`: the file header, the info header with its masks and
// colour table (infoBytes at pInfo), the pixel rows (pixelBytes at pBits), then `padding` zero
// bytes that the file's size does not count. False when a piece fails.
bool WriteFile(const ByteSink& write, const void* pInfo, std::size_t infoBytes, const void* pBits,
               std::size_t pixelBytes, std::size_t padding = 0);
// A zeroed block, or null when it can't be had.
inline FileBlock AllocZeroed(std::size_t n)
{
    FileBlock block = AllocFileBlock(n);
    if (block)
        std::memset(block.get(), 0, n);
    return block;
}

} // namespace bmp
