#include "JpegLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// libjpeg's own limits on a frame.
constexpr int kMaxComponents = 10;
constexpr int kMaxSampling = 4;
constexpr std::int64_t kBlockBytes = 64 * 2;

constexpr int kSoi = 0xD8;
constexpr int kEoi = 0xD9;
constexpr int kSos = 0xDA;

bool IsFrame(int m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
bool IsProgressiveFrame(int m) { return m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE; }
// Markers that stand alone inside entropy-coded data or between segments: a stuffed zero,
// the restart markers, TEM.
bool IsStandalone(int m) { return m == 0x00 || m == 0x01 || (m >= 0xD0 && m <= 0xD7); }

// The data through a buffer of its own, so that entropy-coded bytes are skipped a block at a
// time.
class ByteStream {
public:
    explicit ByteStream(const std::function<std::size_t(BYTE*, std::size_t)>& read) : m_read(read)
    {}

    int Get()
    {
        if (m_at == m_end && !Fill())
            return -1;
        return m_buffer[m_at++];
    }
    // Skips to just behind the next 0xFF byte; false at the end of the data.
    bool SkipPastFF()
    {
        for (;;) {
            const void* ff = std::memchr(m_buffer.data() + m_at, 0xFF, m_end - m_at);
            if (ff) {
                m_at = std::size_t(static_cast<const BYTE*>(ff) - m_buffer.data()) + 1;
                return true;
            }
            if (!Fill())
                return false;
        }
    }
    bool Skip(std::size_t n)
    {
        while (n > m_end - m_at) {
            n -= m_end - m_at;
            if (!Fill())
                return false;
        }
        m_at += n;
        return true;
    }
    bool Take(BYTE* p, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            const int b = Get();
            if (b < 0)
                return false;
            p[i] = BYTE(b);
        }
        return true;
    }

private:
    bool Fill()
    {
        m_at = 0;
        m_end = m_read(m_buffer.data(), m_buffer.size());
        return m_end > 0;
    }

    const std::function<std::size_t(BYTE*, std::size_t)>& m_read;
    std::array<BYTE, 64 * 1024> m_buffer{};
    std::size_t m_at = 0;
    std::size_t m_end = 0;
};

std::int64_t BlocksAlong(std::int64_t pixels, int sampling, int maxSampling)
{
    const std::int64_t blocks = (pixels * sampling + 8 * maxSampling - 1) / (8 * maxSampling);
    return (blocks + sampling - 1) / sampling * sampling;
}

// The frame header's fields behind its length: precision, height, width, components and per
// component its id, sampling factors and quantisation table.
bool ReadFrame(const std::vector<BYTE>& f, JpegLayout& layout)
{
    if (f.size() < 6)
        return false;
    const int components = f[5];
    if (components < 1 || components > kMaxComponents ||
        f.size() != 6 + 3 * std::size_t(components))
        return false;
    layout.height = f[1] << 8 | f[2];
    layout.width = f[3] << 8 | f[4];
    if (layout.width == 0 || layout.height == 0)
        return false;
    int maxH = 1, maxV = 1;
    for (int c = 0; c < components; ++c) {
        const int h = f[7 + 3 * c] >> 4, v = f[7 + 3 * c] & 0x0F;
        if (h < 1 || h > kMaxSampling || v < 1 || v > kMaxSampling)
            return false;
        maxH = std::max(maxH, h);
        maxV = std::max(maxV, v);
    }
    layout.coefficientBytes = 0;
    for (int c = 0; c < components; ++c) {
        const int h = f[7 + 3 * c] >> 4, v = f[7 + 3 * c] & 0x0F;
        layout.coefficientBytes +=
            BlocksAlong(layout.width, h, maxH) * BlocksAlong(layout.height, v, maxV) * kBlockBytes;
    }
    return true;
}

} // namespace

bool ReadJpegLayout(const std::function<std::size_t(BYTE*, std::size_t)>& read, int maxScans,
                    JpegLayout& layout)
{
    layout = {};
    ByteStream s(read);
    if (s.Get() != 0xFF || s.Get() != kSoi)
        return false;
    bool framed = false;
    while (layout.scans <= maxScans && s.SkipPastFF()) {
        int m = s.Get();
        while (m == 0xFF)
            m = s.Get();
        if (m < 0 || m == kEoi)
            break;
        if (IsStandalone(m))
            continue;
        const int hi = s.Get(), lo = s.Get();
        if (m == kSoi || hi < 0 || lo < 0 || (hi << 8 | lo) < 2)
            return false;
        const std::size_t length = std::size_t(hi << 8 | lo) - 2;
        if (IsFrame(m)) {
            std::vector<BYTE> frame(length);
            if (framed || !s.Take(frame.data(), length) || !ReadFrame(frame, layout))
                return false;
            framed = true;
            layout.progressive = IsProgressiveFrame(m);
            continue;
        }
        if (m == kSos && !framed)
            return false;
        layout.scans += m == kSos;
        if (!s.Skip(length))
            break;
    }
    return framed;
}
