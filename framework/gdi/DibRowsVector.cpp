// The vector decoders of DibRows.h: AVX-512 VBMI byte permutes look up 64 colour indices at a
// time, AVX2 byte shuffles widen 8 pixels of 24 bits at a time (and narrow them back for
// GetDIBits). Each is chosen once, by what
// the processor reports and the application's NO_SIMD switch allows; elsewhere the decoders write
// nothing and the scalar loops do it all. Both use VEX-encoded instructions only: legacy SSE code
// after wide vector code elsewhere in the process can run several times slower. They pay for
// bench_image's LoadAndShow cases (opening a picture well under Qt's time); the plain loops of
// DibRows.cpp are the fallback.
#include "DibRows.h"

#include "framework/core/AppName.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstdlib>
#include <cstring>

namespace dib {
namespace {

bool VectorsAllowed()
{
    // The NO_SIMD switch (AppName.h) set to anything but "" or "0" keeps to the plain decoders
    // on any processor.
    static const bool allowed = [] {
        const char* no = std::getenv(AfxSwitchVariable("NO_SIMD").c_str());
        return !no || !*no || std::strcmp(no, "0") == 0;
    }();
    return allowed;
}

bool HasVbmi()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return VectorsAllowed() && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512vbmi");
    }();
    return has;
}

bool HasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return VectorsAllowed() && __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

// One colour channel of 64 indices: the low 7 bits pick from one of two 128-byte halves of
// the channel's table, the top bit picks the half.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) __m512i LookUp(const __m512i (&table)[4],
                                                                      __m512i idx, __mmask64 upper)
{
    const __m512i low = _mm512_permutex2var_epi8(table[0], idx, table[1]);
    const __m512i high = _mm512_permutex2var_epi8(table[2], idx, table[3]);
    return _mm512_mask_blend_epi8(upper, low, high);
}

// Interleaves blue, green, red and 0xFF bytes into 64 pixels in order. The unpacks work within
// 128-bit lanes, so quarter k of lane j holds pixels 16j + 4k to 16j + 4k + 3; the two rounds
// of lane permutes put the quarters back in sequence.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void
StorePixels(__m512i b, __m512i g, __m512i r, std::uint32_t* out)
{
    const __m512i a = _mm512_set1_epi8(-1);
    const __m512i bgLow = _mm512_unpacklo_epi8(b, g), bgHigh = _mm512_unpackhi_epi8(b, g);
    const __m512i raLow = _mm512_unpacklo_epi8(r, a), raHigh = _mm512_unpackhi_epi8(r, a);
    const __m512i q0 = _mm512_unpacklo_epi16(bgLow, raLow),
                  q1 = _mm512_unpackhi_epi16(bgLow, raLow);
    const __m512i q2 = _mm512_unpacklo_epi16(bgHigh, raHigh);
    const __m512i q3 = _mm512_unpackhi_epi16(bgHigh, raHigh);
    const __m512i lanes01 = _mm512_setr_epi64(0, 1, 8, 9, 2, 3, 10, 11);
    const __m512i lanes23 = _mm512_setr_epi64(4, 5, 12, 13, 6, 7, 14, 15);
    const __m512i low = _mm512_setr_epi64(0, 1, 2, 3, 8, 9, 10, 11);
    const __m512i high = _mm512_setr_epi64(4, 5, 6, 7, 12, 13, 14, 15);
    const __m512i t0 = _mm512_permutex2var_epi64(q0, lanes01, q1);
    const __m512i t1 = _mm512_permutex2var_epi64(q2, lanes01, q3);
    const __m512i t2 = _mm512_permutex2var_epi64(q0, lanes23, q1);
    const __m512i t3 = _mm512_permutex2var_epi64(q2, lanes23, q3);
    _mm512_storeu_si512(out, _mm512_permutex2var_epi64(t0, low, t1));
    _mm512_storeu_si512(out + 16, _mm512_permutex2var_epi64(t0, high, t1));
    _mm512_storeu_si512(out + 32, _mm512_permutex2var_epi64(t2, low, t3));
    _mm512_storeu_si512(out + 48, _mm512_permutex2var_epi64(t2, high, t3));
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int
IndexedVbmi(const Format& f, const BYTE* p, int n, std::uint32_t* out)
{
    __m512i tables[3][4];
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 4; ++k)
            tables[c][k] = _mm512_loadu_si512(f.planes[c].data() + 64 * k);
    int i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m512i idx = _mm512_loadu_si512(p + i);
        const __mmask64 upper = _mm512_movepi8_mask(idx);
        StorePixels(LookUp(tables[0], idx, upper), LookUp(tables[1], idx, upper),
                    LookUp(tables[2], idx, upper), out + i);
    }
    return i;
}

// Each half of a block takes 16 bytes for the 12 of its four pixels, so blocks stop while
// the second half's 16 bytes still lie inside the n pixels.
__attribute__((target("avx2"))) int Rgb24Avx2(const BYTE* p, int n, std::uint32_t* out)
{
    const __m256i widen = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                           1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
    int i = 0;
    for (; i + 10 <= n; i += 8, p += 24) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12));
        const __m256i bytes = _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_or_si256(_mm256_shuffle_epi8(bytes, widen), opaque));
    }
    return i;
}

// The reverse: each lane's four pixels shrink to 12 bytes stored as 16, the second lane's
// over the first lane's 4 spare bytes, so blocks stop while its spare bytes still lie inside
// the n pixels' bytes.
__attribute__((target("avx2"))) int Rgb24EncodeAvx2(const std::uint32_t* px, int n, BYTE* out)
{
    const __m256i narrow = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                            0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int i = 0;
    for (; i + 10 <= n; i += 8, out += 24) {
        const __m256i bytes = _mm256_shuffle_epi8(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(px + i)), narrow);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(bytes, 1));
    }
    return i;
}

} // namespace

int DecodeIndexedBlocks(const Format& f, const BYTE* p, int n, std::uint32_t* out)
{
    return HasVbmi() ? IndexedVbmi(f, p, n, out) : 0;
}

int Decode24Blocks(const BYTE* p, int n, std::uint32_t* out)
{
    return HasAvx2() ? Rgb24Avx2(p, n, out) : 0;
}

int Encode24Blocks(const std::uint32_t* px, int n, BYTE* out)
{
    return HasAvx2() ? Rgb24EncodeAvx2(px, n, out) : 0;
}

} // namespace dib

#else

namespace dib {

int DecodeIndexedBlocks(const Format&, const BYTE*, int, std::uint32_t*) { return 0; }
int Decode24Blocks(const BYTE*, int, std::uint32_t*) { return 0; }
int Encode24Blocks(const std::uint32_t*, int, BYTE*) { return 0; }

} // namespace dib

#endif
