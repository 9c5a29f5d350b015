#include "BmpFormat.h"

#include <vector>

namespace bmp {

bool WriteFile(const ByteSink& write, const void* pInfo, std::size_t infoBytes, const void* pBits,
               std::size_t pixelBytes, std::size_t padding)
{
    const BITMAPFILEHEADER header = FileHeaderFor(infoBytes, pixelBytes);
    const std::vector<BYTE> zeros(padding, 0);
    return write(&header, sizeof header) && write(pInfo, infoBytes) && write(pBits, pixelBytes) &&
           (padding == 0 || write(zeros.data(), padding));
}

} // namespace bmp
