// Arbitrary bytes as a BMP file: read, shown on a small device context, saved, read again.
// Whatever is read must save, and the saved file must show the same pixels.
#include "image/BaseImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// The two files one fuzzing process works with, removed when it ends.
struct Files {
    Files()
    {
        const std::string base = (std::filesystem::temp_directory_path() /
                                  ("skorel-fuzz-bmp-" + std::to_string(::getpid())))
                                     .string();
        in = base + "-in.bmp";
        out = base + "-out.bmp";
    }
    ~Files()
    {
        std::remove(in.c_str());
        std::remove(out.c_str());
    }
    std::string in;
    std::string out;
};

bool WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// What an image shows on a 64 × 48 surface at (x, y).
class Shown {
public:
    Shown(CBaseImage& image, int x, int y)
    {
        m_bitmap.CreateCompatibleBitmap(nullptr, 64, 48);
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, 64, 48, RGB(1, 2, 3));
        image.Draw(x, y, &m_dc);
    }
    bool operator==(const Shown& o) const
    {
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                if (m_dc.GetPixel(x, y) != o.m_dc.GetPixel(x, y))
                    return false;
        return true;
    }

private:
    CBitmap m_bitmap;
    CDC m_dc;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Files files;
    if (!WriteBytes(files.in, data, size))
        return 0;
    CBaseImage image;
    if (!image.LoadBMP(files.in.c_str()))
        return 0;
    const Shown first(image, 0, 0);
    // Partly off the surface: the clipping of every row decoder and of the RLE walker.
    const Shown clipped(image, -5, 3);
    if (!image.SaveBMP(files.out.c_str()))
        std::abort();
    CBaseImage again;
    if (!again.LoadBMP(files.out.c_str()) || !(Shown(again, 0, 0) == first))
        std::abort();
    return 0;
}
