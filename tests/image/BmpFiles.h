// BMP files built by the tests themselves, and what they are expected to show.
#pragma once

#include "framework/gdi/Dib.h"
#include "framework/gdi/Gdi.h"

#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bmptest {

// How a file lays out its pixels.
struct Layout {
    int bitCount = 24;
    DWORD compression = BI_RGB;
    DWORD headerSize = 40;
    bool topDown = false;
    // The colour table as written (0xRRGGBB); biClrUsed as written.
    std::vector<std::uint32_t> table;
    DWORD clrUsed = 0;
    // The red, green and blue masks of BI_BITFIELDS.
    std::array<std::uint32_t, 3> masks{};
    // Bytes left between the colour table and the pixels (bfOffBits points behind them).
    int gap = 0;
};

// One pixel value the file holds (an index, or a 16-, 24- or 32-bit pixel) and the colour
// that it shows as (0xRRGGBB).
struct Ink {
    std::uint32_t raw;
    std::uint32_t rgb;
};

// A picture of inks, top row first, in stripes of `run` pixels of one ink.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Ink> inks;
    int run = 1;
    const Ink& At(int x, int y) const { return inks[(3 * (x / run) + 5 * y) % inks.size()]; }
};

std::vector<BYTE> BuildBmp(const Layout& layout, const Picture& picture);
// Puts another stream in place of the pixels of a built RLE file, with bfSize and biSizeImage
// to match.
void ReplaceRleStream(std::vector<BYTE>& file, const std::vector<BYTE>& rle);

// Little-endian fields of a built file.
std::uint32_t Get32(const std::vector<BYTE>& b, std::size_t at);
void Put32(std::vector<BYTE>& b, std::size_t at, std::uint32_t v);
void Put16(std::vector<BYTE>& b, std::size_t at, std::uint16_t v);

std::string WriteFile(const QTemporaryDir& dir, const std::string& name,
                      const std::vector<BYTE>& bytes);
std::vector<BYTE> ReadFile(const std::string& path);

// Keeps a good input for the fuzzer when the test run asks for seeds.
void KeepSeed(const std::string& name, const std::vector<BYTE>& bytes);

// The pixels ImageMagick's convert reads from a file (0xRRGGBB, top row first), or nothing
// when convert fails on it.
bool HaveConvert();
std::optional<std::vector<std::uint32_t>> ConvertPixels(const std::string& path, int width,
                                                        int height);

// Caps the size of files this process writes, as a full disk would, for one scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    long m_previous;
};

// The names of the files in a folder.
std::vector<std::string> FileNames(const QTemporaryDir& dir);

// A memory device context on a bitmap of its own, every pixel `fill` at first.
class Surface {
public:
    Surface(int width, int height, COLORREF fill = RGB(1, 2, 3));
    CDC* dc() { return &m_dc; }
    // 0xRRGGBB of a pixel.
    std::uint32_t At(int x, int y) const;

private:
    CBitmap m_bitmap;
    CDC m_dc;
};

constexpr std::uint32_t ToRgb(COLORREF cr)
{
    return (cr & 0xFF) << 16 | (cr & 0xFF00) | (cr >> 16 & 0xFF);
}

} // namespace bmptest
