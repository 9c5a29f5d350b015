#include "DibRows.h"

#include "framework/core/ByteOrder.h"

#include <algorithm>
#include <bit>
#include <climits>

namespace dib {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

void ReadColorTable(const BITMAPINFO* bmi, Format& f)
{
    const DWORD full = DWORD(1) << f.bitCount;
    const DWORD used = bmi->bmiHeader.biClrUsed;
    const DWORD count = used == 0 || used > full ? full : used;
    const auto* table = reinterpret_cast<const BYTE*>(bmi) + bmi->bmiHeader.biSize;
    f.colors.fill(kOpaque);
    for (DWORD i = 0; i < count; ++i) {
        const BYTE* q = table + 4 * i;
        f.colors[i] = kOpaque | std::uint32_t(q[2]) << 16 | std::uint32_t(q[1]) << 8 | q[0];
        for (int c = 0; c < 3; ++c)
            f.planes[c][i] = q[c];
    }
}

void ReadMasks(const BITMAPINFO* bmi, Format& f)
{
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (f.bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    if (f.compression == BI_BITFIELDS) {
        const auto* p = reinterpret_cast<const BYTE*>(bmi) + sizeof(BITMAPINFOHEADER);
        for (int i = 0; i < 3; ++i)
            masks[i] = LoadLE32(p + 4 * i);
    }
    for (int i = 0; i < 3; ++i)
        f.channels[i].SetMask(masks[i]);
    f.plain32 =
        f.bitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0x00FF00 && masks[2] == 0x0000FF;
}

void Decode1(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out)
{
    for (int i = 0; i < n; ++i) {
        const int x = x0 + i;
        out[i] = f.colors[(row[x >> 3] >> (7 - (x & 7))) & 1];
    }
}

void Decode4(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out)
{
    for (int i = 0; i < n; ++i) {
        const int x = x0 + i;
        out[i] = f.colors[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
    }
}

void Decode8(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out)
{
    const BYTE* p = row + x0;
    for (int i = DecodeIndexedBlocks(f, p, n, out); i < n; ++i)
        out[i] = f.colors[p[i]];
}

// Four pixels at a time from three little-endian words, behind what the vector decoder did.
void Decode24(const BYTE* row, int x0, int n, std::uint32_t* out)
{
    const BYTE* p = row + 3 * std::int64_t(x0);
    int i = Decode24Blocks(p, n, out);
    p += 3 * std::int64_t(i);
    for (; i + 4 <= n; i += 4, p += 12) {
        const std::uint32_t a = LoadLE32(p), b = LoadLE32(p + 4), c = LoadLE32(p + 8);
        out[i] = kOpaque | (a & 0xFFFFFF);
        out[i + 1] = kOpaque | a >> 24 | (b & 0xFFFF) << 8;
        out[i + 2] = kOpaque | b >> 16 | (c & 0xFF) << 16;
        out[i + 3] = kOpaque | c >> 8;
    }
    for (; i < n; ++i, p += 3)
        out[i] = kOpaque | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

std::uint32_t FromChannels(const Format& f, std::uint32_t px)
{
    return kOpaque | f.channels[0].Value(px) << 16 | f.channels[1].Value(px) << 8 |
           f.channels[2].Value(px);
}

void Decode16(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out)
{
    const BYTE* p = row + 2 * std::int64_t(x0);
    for (int i = 0; i < n; ++i, p += 2)
        out[i] = FromChannels(f, std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8);
}

void Decode32(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out)
{
    const BYTE* p = row + 4 * std::int64_t(x0);
    if (f.plain32) {
        for (int i = 0; i < n; ++i, p += 4)
            out[i] = kOpaque | LoadLE32(p);
        return;
    }
    for (int i = 0; i < n; ++i, p += 4)
        out[i] = FromChannels(f, LoadLE32(p));
}

// The stream reader of DrawRle: every read is checked against the end.
struct RleStream {
    const BYTE* p;
    const BYTE* end;
    bool Take(std::size_t n, const BYTE*& at)
    {
        if (std::size_t(end - p) < n)
            return false;
        at = p;
        p += n;
        return true;
    }
};

struct RleCursor {
    const Format& f;
    const Window& win;
    int x = 0;
    int line = 0;

    void Put(int index)
    {
        if (x >= win.x0 && x < win.x1 && line >= win.line0 && line < win.line1)
            *win.At(x, line) = f.colors[index];
        ++x;
    }
    int Index(const BYTE* data, int i) const
    {
        if (f.compression == BI_RLE8)
            return data[i];
        return (i & 1) ? data[i >> 1] & 0xF : data[i >> 1] >> 4;
    }
};

// One literal run of `count` pixels; its bytes are padded to a 16-bit boundary.
bool RleLiteral(RleStream& s, RleCursor& c, int count)
{
    const std::size_t bytes = c.f.compression == BI_RLE8 ? count : (count + 1) / 2;
    const BYTE* data;
    if (!s.Take(bytes + (bytes & 1), data))
        return false;
    for (int i = 0; i < count && c.x < c.f.width; ++i)
        c.Put(c.Index(data, i));
    return true;
}

// Handles an escape code; false when decoding ends.
bool RleEscape(RleStream& s, RleCursor& c, int code)
{
    const BYTE* d;
    switch (code) {
    case 0:
        c.x = 0;
        return ++c.line < c.f.height;
    case 1:
        return false;
    case 2:
        if (!s.Take(2, d))
            return false;
        c.x = std::min(c.x + d[0], c.f.width);
        c.line += d[1];
        return c.line < c.f.height;
    default:
        return RleLiteral(s, c, code);
    }
}

} // namespace

void Channel::SetMask(std::uint32_t m)
{
    mask = m;
    widen.fill(0);
    scale = round = 0;
    shift = m ? std::countr_zero(m) : 0;
    const int bits = m ? 32 - std::countl_zero(m) - shift : 0;
    if (bits > 8) {
        // With y = 255 v + (2ⁿ⁻¹ − 1), the rounded value is floor(y ÷ (2ⁿ − 1)), which is
        // (y + (y >> n) + 1) >> n while it stays below 2ⁿ, and so exactly
        // (y (2ⁿ + 1) + 2ⁿ) >> 2n; scaled by 2^(64 − 2n), both terms fit 64 bits.
        const int spare = 64 - 2 * bits;
        scale = (255 * ((std::uint64_t(1) << bits) + 1)) << spare;
        round = ((std::uint64_t(1) << (2 * bits - 1)) + (std::uint64_t(1) << (bits - 1)) - 1)
                << spare;
        return;
    }
    if (bits == 0)
        return;
    const std::uint32_t top = (std::uint32_t(1) << bits) - 1;
    for (std::uint32_t v = 0; v <= top; ++v)
        widen[v] = std::uint8_t((v * 255 + top / 2) / top);
}

bool ReadFormat(const BITMAPINFO* bmi, Format& f)
{
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == INT_MIN || h.biPlanes != 1)
        return false;
    f.width = h.biWidth;
    f.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    f.topDown = h.biHeight < 0;
    f.bitCount = h.biBitCount;
    f.compression = h.biCompression;
    if (!DibDepthFitsCompression(h))
        return false;
    f.rowBytes = DibRowBytes(f.width, f.bitCount);
    if (f.bitCount <= 8)
        ReadColorTable(bmi, f);
    else
        ReadMasks(bmi, f);
    return true;
}

void DecodeRow(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out)
{
    switch (f.bitCount) {
    case 1:
        return Decode1(f, row, x0, n, out);
    case 4:
        return Decode4(f, row, x0, n, out);
    case 8:
        return Decode8(f, row, x0, n, out);
    case 16:
        return Decode16(f, row, x0, n, out);
    case 24:
        return Decode24(row, x0, n, out);
    default:
        return Decode32(f, row, x0, n, out);
    }
}

void DrawRle(const Format& f, const BYTE* p, std::size_t size, const Window& win)
{
    RleStream s{p, p + size};
    RleCursor c{f, win};
    const BYTE* d;
    while (s.Take(2, d)) {
        if (d[0] == 0) {
            if (!RleEscape(s, c, d[1]))
                return;
            continue;
        }
        const int a = f.compression == BI_RLE8 ? d[1] : d[1] >> 4;
        const int b = f.compression == BI_RLE8 ? d[1] : d[1] & 0xF;
        for (int i = 0; i < d[0] && c.x < f.width; ++i)
            c.Put((i & 1) ? b : a);
    }
}

} // namespace dib

bool DibDepthFitsCompression(const BITMAPINFOHEADER& bi)
{
    const int bits = bi.biBitCount;
    switch (bi.biCompression) {
    case BI_RGB:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BI_RLE8:
        return bits == 8 && bi.biHeight > 0;
    case BI_RLE4:
        return bits == 4 && bi.biHeight > 0;
    case BI_BITFIELDS:
        return (bits == 16 || bits == 32) && bi.biSize != kOs2HeaderBytes;
    default:
        return false;
    }
}
