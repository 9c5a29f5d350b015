// Arbitrary bytes as a picture of the formats read through Qt's readers (PNG, JPEG, GIF, TIFF,
// WebP, ICO). Whatever is read stays within the bound on what decoding costs (and, a JPEG, on
// its scans as its markers count them), holds every byte of every row its header promises,
// and shows on a device context.
#include "framework/gdi/JpegLayout.h"
#include "image/BaseImage.h"
#include "res/Tables.h"

#include "framework/core/Resource.h"

#include <algorithm>

#include <cstdint>
#include <cstdlib>
#include <vector>

// The program's table of picture formats says which ones the reader takes.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    AfxSetResources(&res::ProgramTables());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CBaseImage image;
    if (image.LoadPicture(std::vector<BYTE>(data, data + size)) != CPictureReader::Result::Read)
        return 0;
    // Every picture costs its rows and at least a byte a pixel of Qt's.
    const CSize s = image.GetSize();
    if (s.cx <= 0 || s.cy <= 0 || std::int64_t(s.cx) * s.cy * 4 > CPictureReader::kMaxDecodeBytes)
        std::abort();
    std::size_t at = 0;
    JpegLayout layout;
    const auto read = [&](BYTE* p, std::size_t n) {
        n = std::min(n, size - at);
        std::copy_n(data + at, n, p);
        at += n;
        return n;
    };
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8 &&
        ReadJpegLayout(read, CPictureReader::kMaxJpegScans, layout) &&
        layout.scans > CPictureReader::kMaxJpegScans)
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
