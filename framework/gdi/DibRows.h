// Decoding of DIB pixels into 32-bit surface pixels (0xFFRRGGBB): the checked form of a header,
// one decoder per bit depth, and the RLE walker. Used by SetDIBitsToDevice; GetDIBits borrows
// the vector form of the 24-bit one, run backwards.
#pragma once

#include "Dib.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace dib {

// One colour channel of a 16- or 32-bit pixel: a field of n bits shows as
// value × 255 ÷ (2ⁿ − 1), rounded to nearest.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0; // of the mask's lowest bit
    // A field wider than 8 bits shows as the top 64 bits of value × scale + round; 0 for a
    // narrower one, which shows as widen[value].
    std::uint64_t scale = 0;
    std::uint64_t round = 0;
    std::array<std::uint8_t, 256> widen{};

    void SetMask(std::uint32_t m);
    std::uint32_t Value(std::uint32_t px) const
    {
        const std::uint32_t v = (px & mask) >> shift;
        if (!scale)
            return widen[v];
        return std::uint32_t((static_cast<unsigned __int128>(v) * scale + round) >> 64);
    }
};

// A header that has been checked: what the rows look like and what colours their pixels are.
struct Format {
    int width = 0;
    int height = 0; // number of rows
    bool topDown = false;
    int bitCount = 0;
    DWORD compression = BI_RGB;
    std::int64_t rowBytes = 0;
    // Pixels of the colour indices; black beyond the colour table.
    std::array<std::uint32_t, 256> colors{};
    // The same colours as blue, green and red byte tables, for the vector decoder.
    std::array<std::array<BYTE, 256>, 3> planes{};
    // Red, green and blue of 16- and 32-bit pixels.
    std::array<Channel, 3> channels;
    // 32-bit pixels laid out as 0x00RRGGBB, copied without the channels.
    bool plain32 = false;
};

// Reads a header of 40 bytes or more with the colour table or masks behind it; false for a
// size, depth or compression that can't be drawn.
bool ReadFormat(const BITMAPINFO* bmi, Format& f);

// Writes pixels [x0, x0 + n) of an uncompressed row to out.
void DecodeRow(const Format& f, const BYTE* row, int x0, int n, std::uint32_t* out);

// Vector decoders for long runs of 8- and 24-bit pixels, used where the processor has the
// instructions for them. Each writes a leading part of the n pixels at p, whole blocks only,
// without reading past the n pixels, and returns how many it wrote (0 without the
// instructions); the caller decodes the rest.
int DecodeIndexedBlocks(const Format& f, const BYTE* p, int n, std::uint32_t* out);
int Decode24Blocks(const BYTE* p, int n, std::uint32_t* out);
// The reverse of Decode24Blocks for GetDIBits: a leading part of the n pixels at px as 24-bit
// DIB pixels, without writing past their 3n bytes; returns how many it wrote.
int Encode24Blocks(const std::uint32_t* px, int n, BYTE* out);

// Where the visible part of a DIB lands: pixel x of scan line `line` (counted in the DIB's
// own row order) for x in [x0, x1) and line in [line0, line1).
struct Window {
    int x0 = 0;
    int x1 = 0;
    int line0 = 0;
    int line1 = 0;
    std::uint32_t* origin = nullptr; // where (x0, line0) lands
    std::int64_t lineStep = 0;       // from one scan line's pixels to the next one's

    std::uint32_t* At(int x, int line) const
    {
        return origin + (line - line0) * lineStep + (x - x0);
    }
};

// Decodes an RLE8 or RLE4 stream of `size` bytes onto the window; pixels the stream skips are
// left as they are. Runs and deltas are cut at the image's edges; reading stops at the end of
// the stream, at its end-of-bitmap mark or when a delta leaves the image.
void DrawRle(const Format& f, const BYTE* p, std::size_t size, const Window& win);

} // namespace dib
