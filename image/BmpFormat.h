// What the image's BMP reading, writing and capture share.
#pragma once

#include "framework/Types.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace bmp {

// "BM", the first two bytes of every BMP file.
constexpr WORD kType = 0x4D42;
constexpr std::size_t kFileHeaderBytes = 14;
// The largest pixel block an image holds, so that every size of its file fits an int.
constexpr std::int64_t kMaxPixelBytes = INT_MAX - 4096;
// A zeroed block, or null when it can't be had.
inline std::unique_ptr<BYTE[]> AllocZeroed(std::size_t n)
{
    return std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[n]());
}

} // namespace bmp
