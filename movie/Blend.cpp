#include "movie/Blend.h"

#include <cstring>

#include "movie/Canvas.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace movie {

namespace {

struct PerPixel {
    const std::uint8_t* values;
    std::uint8_t at(int i) const { return values[i]; }
    std::uint32_t four(int i) const
    {
        std::uint32_t packed = 0;
        std::memcpy(&packed, values + i, 4);
        return packed;
    }
};

struct Constant {
    std::uint8_t value;
    std::uint8_t at(int) const { return value; }
    std::uint32_t four(int) const { return value * 0x01010101u; }
};

#if defined(__SSE2__)

// x / 255 for 16-bit lanes holding products of two bytes, rounded.
inline __m128i divide255(__m128i x)
{
    x = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Two pixels (16-bit lanes) scaled by their coverage and put over two destination pixels.
inline __m128i over(__m128i dst, __m128i src, __m128i coverage)
{
    src = divide255(_mm_mullo_epi16(src, coverage));
    __m128i alpha = _mm_shufflelo_epi16(src, _MM_SHUFFLE(3, 3, 3, 3));
    alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return _mm_add_epi16(src, divide255(_mm_mullo_epi16(dst, inverse)));
}

// Two fully covered pixels (16-bit lanes) over two destination pixels.
inline __m128i overFull(__m128i dst, __m128i src)
{
    __m128i alpha = _mm_shufflelo_epi16(src, _MM_SHUFFLE(3, 3, 3, 3));
    alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return _mm_add_epi16(src, divide255(_mm_mullo_epi16(dst, inverse)));
}

inline void blendFourFull(std::uint32_t* dst, __m128i src)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i low = overFull(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(src, zero));
    const __m128i high = overFull(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(src, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(low, high));
}

inline void blendFour(std::uint32_t* dst, __m128i src, std::uint32_t coverage)
{
    const __m128i zero = _mm_setzero_si128();
    // Each pixel's coverage repeated over its four channels, as 16-bit lanes.
    __m128i c = _mm_cvtsi32_si128(static_cast<int>(coverage));
    c = _mm_unpacklo_epi8(c, c);
    c = _mm_unpacklo_epi16(c, c);
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i low = over(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(c, zero));
    const __m128i high = over(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(c, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(low, high));
}

inline bool opaque(__m128i pixels)
{
    const __m128i alpha = _mm_srli_epi32(pixels, 24);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255))) == 0xFFFF;
}

#endif

template <typename Source, typename Coverage>
void blend(std::uint32_t* dst, Source source, Coverage coverage, int count)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4) {
        const __m128i s = source.four(i);
        const std::uint32_t c = coverage.four(i);
        if (c == 0)
            continue;
        // Opaque and fully covered: the source replaces what is there.
        if (c != 0xFFFFFFFFu)
            blendFour(dst + i, s, c);
        else if (opaque(s))
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
        else
            blendFourFull(dst + i, s);
    }
#endif
    for (; i < count; ++i)
        if (coverage.at(i) != 0)
            dst[i] = blendPixel(dst[i], source.at(i), coverage.at(i));
}

struct Pixels {
    const std::uint32_t* values;
    std::uint32_t at(int i) const { return values[i]; }
#if defined(__SSE2__)
    __m128i four(int i) const { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i)); }
#endif
};

struct Solid {
    std::uint32_t color;
    std::uint32_t at(int) const { return color; }
#if defined(__SSE2__)
    __m128i four(int) const { return _mm_set1_epi32(static_cast<int>(color)); }
#endif
};

}

void blendRow(std::uint32_t* dst, const std::uint32_t* src, const std::uint8_t* coverage, std::uint8_t constant,
              int count)
{
    if (coverage)
        blend(dst, Pixels{src}, PerPixel{coverage}, count);
    else
        blend(dst, Pixels{src}, Constant{constant}, count);
}

void blendRowSolid(std::uint32_t* dst, std::uint32_t color, const std::uint8_t* coverage, std::uint8_t constant,
                   int count)
{
    if (coverage) {
        blend(dst, Solid{color}, PerPixel{coverage}, count);
    } else if (constant == 255 && (color >> 24) == 255) {
        for (int i = 0; i < count; ++i)
            dst[i] = color;
    } else {
        blend(dst, Solid{color}, Constant{constant}, count);
    }
}

}
