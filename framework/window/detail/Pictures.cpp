#include "Pictures.h"

#include "framework/core/ByteOrder.h"
#include "framework/core/Resource.h"
#include "framework/gdi/Dib.h"

#include <QImage>
#include <QPixmap>

#include <cstring>
#include <vector>

namespace {

// An ICO file's directory entry.
constexpr std::size_t kIconDirBytes = 6, kIconEntryBytes = 16;

// One image of an ICO file, `size` bytes at `p`: a DIB whose height counts the colour rows
// and the transparency mask's rows below them, drawn as SetDIBitsToDevice draws it (no image
// plugin is needed), its mask's set bits made transparent. Null for anything else (an image
// stored as PNG or one with an alpha channel among them: the tables hold neither).
QImage IconImage(const BYTE* p, std::size_t size)
{
    BITMAPINFOHEADER bi;
    if (size < sizeof bi)
        return {};
    std::memcpy(&bi, p, sizeof bi);
    if (bi.biSize != sizeof bi || bi.biWidth <= 0 || bi.biHeight <= 0 || bi.biHeight % 2 ||
        bi.biCompression != BI_RGB ||
        (bi.biBitCount != 4 && bi.biBitCount != 8 && bi.biBitCount != 24))
        return {};
    const int width = bi.biWidth, height = bi.biHeight / 2;
    const std::size_t colors = bi.biBitCount <= 8 ? std::size_t(1) << bi.biBitCount : 0;
    const std::size_t table = sizeof bi + 4 * colors;
    const std::int64_t rows = DibRowBytes(width, bi.biBitCount) * height;
    const std::int64_t mask = DibRowBytes(width, 1) * height;
    if (std::int64_t(size) < std::int64_t(table) + rows + mask)
        return {};
    std::vector<BYTE> info(p, p + table);
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biHeight = height;
    CBitmap color;
    CDC dc;
    if (!color.CreateCompatibleBitmap(nullptr, width, height) || !dc.CreateCompatibleDC(nullptr))
        return {};
    dc.SelectObject(&color);
    if (!SetDIBitsToDevice(&dc, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), p + table,
                           reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS))
        return {};
    QImage image = color.Image()->convertToFormat(QImage::Format_ARGB32);
    const BYTE* maskRows = p + table + rows;
    for (int y = 0; y < height; ++y) {
        const BYTE* bits = maskRows + DibRowBytes(width, 1) * (height - 1 - y); // bottom-up
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            if (bits[x / 8] & (0x80 >> (x % 8)))
                row[x] = 0;
    }
    return image;
}

} // namespace

QIcon ResourceIcon(UINT nIDIcon)
{
    QIcon icon;
    const res::Binary* ico = res::FindIcon(nIDIcon);
    if (!ico || ico->size < kIconDirBytes)
        return icon;
    const BYTE* p = ico->data;
    const std::size_t count = LoadLE16(p + 4);
    for (std::size_t i = 0; i < count && kIconDirBytes + (i + 1) * kIconEntryBytes <= ico->size;
         ++i) {
        const BYTE* entry = p + kIconDirBytes + i * kIconEntryBytes;
        const std::size_t bytes = LoadLE32(entry + 8), offset = LoadLE32(entry + 12);
        if (offset > ico->size || bytes > ico->size - offset)
            continue;
        if (const QImage image = IconImage(p + offset, bytes); !image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
