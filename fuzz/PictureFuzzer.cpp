// Arbitrary bytes as a picture of the formats read through Qt's readers (PNG, JPEG, GIF, TIFF,
// WebP, ICO). Whatever is read stays within the bound on pixels, holds every byte of every row
// its header promises, and shows on a device context.
#include "image/BaseImage.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CBaseImage image;
    if (image.LoadPicture(std::vector<BYTE>(data, data + size)) != CPictureReader::Result::Read)
        return 0;
    const CSize s = image.GetSize();
    if (s.cx <= 0 || s.cy <= 0 || std::int64_t(s.cx) * s.cy > CPictureReader::kMaxPixels)
        std::abort();
    // A block shorter than the rows would be read past its end here, which the sanitizer sees.
    const std::size_t bytes = std::size_t(DibRowBytes(s.cx, 24)) * std::size_t(s.cy);
    volatile BYTE sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        sum = BYTE(sum + image.m_pBits[i]);
    CBitmap bitmap;
    CDC dc;
    bitmap.CreateCompatibleBitmap(nullptr, 64, 48);
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    image.Draw(-3, 2, &dc);
    return 0;
}
