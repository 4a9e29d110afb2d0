#include "snapshot/jpeg_colour.h"

#include "snapshot/jpeg_simd.h"

namespace orv::jpeg {

namespace {

// The formulas in double precision, one pixel at a time.
float LumaOf(int r, int g, int b) {
    return static_cast<float>(0.299 * r + 0.587 * g + 0.114 * b - 128.0);
}
float BlueDiffOf(int r, int g, int b) {
    return static_cast<float>(-0.16874 * r - 0.33126 * g + 0.5 * b);
}
float RedDiffOf(int r, int g, int b) {
    return static_cast<float>(0.5 * r - 0.41869 * g - 0.08131 * b);
}

// Exact numerators over 1000, 50000 and 100000; each fits in 24 bits, so the float
// conversion is exact and the division rounds once.
inline int LumaNum(int r, int g, int b) { return 299 * r + 587 * g + 114 * b - 128000; }
inline int BlueNum(int r, int g, int b) { return -8437 * r - 16563 * g + 25000 * b; }
inline int RedNum(int r, int g, int b) { return 50000 * r - 41869 * g - 8131 * b; }

template <int Component>
inline float FromNum(int k, int r, int g, int b) {
    if (k == 0) {
        if constexpr (Component == 0) return LumaOf(r, g, b);
        else if constexpr (Component == 1) return BlueDiffOf(r, g, b);
        else return RedDiffOf(r, g, b);
    }
    if constexpr (Component == 0) return static_cast<float>(k) / 1000.0f;
    else if constexpr (Component == 1) return static_cast<float>(k) / 50000.0f;
    else return static_cast<float>(k) / 100000.0f;
}

void ConvertTail(const std::uint8_t* p, int from, int n, float* y, float* cb, float* cr) {
    for (int i = from; i < n; ++i) {
        const int b = p[3 * i], g = p[3 * i + 1], r = p[3 * i + 2];
        if (y) y[i] = FromNum<0>(LumaNum(r, g, b), r, g, b);
        if (cb) cb[i] = FromNum<1>(BlueNum(r, g, b), r, g, b);
        if (cr) cr[i] = FromNum<2>(RedNum(r, g, b), r, g, b);
    }
}

#ifdef ORV_JPEG_SSE2
// Four pixels at a time. Two pixels' bytes widened to words and laid out as
// (B0 G0 R0 B1 | B1 G1 R1 B2): one madd with (b, g, r, 0) weights per pixel then gives two
// partial sums per pixel, added pairwise. The numerator of each component is exact.
struct Quad {
    __m128i lo, hi;  // pixels 0, 1 and 2, 3, pair-aligned words
};

inline __m128i PairAligned(const std::uint8_t* p) {
    const __m128i w = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    return _mm_unpacklo_epi64(w, _mm_srli_si128(w, 6));
}

// Sums of the two 32-bit lanes of each pixel, for four pixels.
inline __m128i PixelSums(__m128i a, __m128i b) {
    a = _mm_add_epi32(a, _mm_srli_epi64(a, 32));
    b = _mm_add_epi32(b, _mm_srli_epi64(b, 32));
    return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
}

// For Cb and Cr the numerator is 0 exactly for greys (R = G = B): their values by grey level.
struct GreyDiffs {
    float cb[256], cr[256];
    GreyDiffs() {
        for (int v = 0; v < 256; ++v) {
            cb[v] = BlueDiffOf(v, v, v);
            cr[v] = RedDiffOf(v, v, v);
        }
    }
};
const GreyDiffs kGreyDiffs;

template <int Component>
inline void Store(__m128i k, const std::uint8_t* p, float* out) {
    const float den = Component == 0 ? 1000.0f : Component == 1 ? 50000.0f : 100000.0f;
    _mm_storeu_ps(out, _mm_div_ps(_mm_cvtepi32_ps(k), _mm_set1_ps(den)));
    const int zeroLanes = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(k, _mm_setzero_si128())));
    if (zeroLanes) {
        for (int l = 0; l < 4; ++l) {
            if (!(zeroLanes & (1 << l))) continue;
            if constexpr (Component == 0) out[l] = LumaOf(p[3 * l + 2], p[3 * l + 1], p[3 * l]);
            else if constexpr (Component == 1) out[l] = kGreyDiffs.cb[p[3 * l]];
            else out[l] = kGreyDiffs.cr[p[3 * l]];
        }
    }
}

inline void ConvertQuad(const std::uint8_t* p, float* y, float* cb, float* cr) {
    const __m128i a = PairAligned(p), b = PairAligned(p + 6);
    if (y) {
        const __m128i wy = _mm_setr_epi16(114, 587, 299, 0, 114, 587, 299, 0);
        const __m128i k = _mm_add_epi32(PixelSums(_mm_madd_epi16(a, wy), _mm_madd_epi16(b, wy)), _mm_set1_epi32(-128000));
        Store<0>(k, p, y);
    }
    if (cb) {
        const __m128i wb = _mm_setr_epi16(25000, -16563, -8437, 0, 25000, -16563, -8437, 0);
        Store<1>(PixelSums(_mm_madd_epi16(a, wb), _mm_madd_epi16(b, wb)), p, cb);
    }
    if (cr) {
        // 50000 R - 41869 G - 8131 B = 2 (25000 R - 20935 G) + (G - 8131 B).
        const __m128i w1 = _mm_setr_epi16(0, -20935, 25000, 0, 0, -20935, 25000, 0);
        const __m128i w2 = _mm_setr_epi16(-8131, 1, 0, 0, -8131, 1, 0, 0);
        const __m128i ta = _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(a, w1), 1), _mm_madd_epi16(a, w2));
        const __m128i tb = _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(b, w1), 1), _mm_madd_epi16(b, w2));
        Store<2>(PixelSums(ta, tb), p, cr);
    }
}
#endif

#ifdef ORV_JPEG_AVX2
#define ORV_TARGET_AVX2 __attribute__((target("avx2")))

// Eight pixels at a time, planar: each 128-bit half takes four pixels (12 bytes) and byte
// shuffles lay them out as word pairs (B, G) and (R, G) per 32-bit lane, so that one madd
// per pair gives exact partial numerators:
//   Y  = 114 B + 587 G + 299 R - 128000
//   Cb = 25000 B - 16563 G - 8437 R
//   Cr = (G - 8131 B) + 2 (25000 R - 20935 G)
// Then the same single correctly rounded division as the other paths, and the same exact-
// zero fix-up.
template <int Component>
ORV_TARGET_AVX2 inline void Store8(__m256i k, const std::uint8_t* p, float* out) {
    const float den = Component == 0 ? 1000.0f : Component == 1 ? 50000.0f : 100000.0f;
    _mm256_storeu_ps(out, _mm256_div_ps(_mm256_cvtepi32_ps(k), _mm256_set1_ps(den)));
    const int zeroLanes = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(k, _mm256_setzero_si256())));
    if (zeroLanes) {
        for (int l = 0; l < 8; ++l) {
            if (!(zeroLanes & (1 << l))) continue;
            if constexpr (Component == 0) out[l] = LumaOf(p[3 * l + 2], p[3 * l + 1], p[3 * l]);
            else if constexpr (Component == 1) out[l] = kGreyDiffs.cb[p[3 * l]];
            else out[l] = kGreyDiffs.cr[p[3 * l]];
        }
    }
}

// Pixels from `from` on, eight at a time while 28 bytes can be read; returns where it stopped.
ORV_TARGET_AVX2 int ConvertRowAvx2(const std::uint8_t* bgr, int from, int n, float* y, float* cb, float* cr) {
    const __m256i shufBG = _mm256_setr_epi8(0, -1, 1, -1, 3, -1, 4, -1, 6, -1, 7, -1, 9, -1, 10, -1,  //
                                            0, -1, 1, -1, 3, -1, 4, -1, 6, -1, 7, -1, 9, -1, 10, -1);
    const __m256i shufRG = _mm256_setr_epi8(2, -1, 1, -1, 5, -1, 4, -1, 8, -1, 7, -1, 11, -1, 10, -1,  //
                                            2, -1, 1, -1, 5, -1, 4, -1, 8, -1, 7, -1, 11, -1, 10, -1);
    const __m256i wyBG = _mm256_set1_epi32((587 << 16) | 114);
    const __m256i wyRG = _mm256_set1_epi32(299);
    const __m256i yOff = _mm256_set1_epi32(-128000);
    const __m256i wbBG = _mm256_set1_epi32(static_cast<int>((static_cast<std::uint32_t>(-16563) << 16) | 25000u));
    const __m256i wbRG = _mm256_set1_epi32(static_cast<int>(static_cast<std::uint16_t>(-8437)));
    const __m256i wrBG = _mm256_set1_epi32(static_cast<int>((1u << 16) | static_cast<std::uint16_t>(-8131)));
    const __m256i wrRG = _mm256_set1_epi32(static_cast<int>((static_cast<std::uint32_t>(-20935) << 16) | 25000u));
    int i = from;
    for (; i + 10 <= n; i += 8) {
        const std::uint8_t* p = bgr + 3 * i;
        const __m256i px = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
        const __m256i bg = _mm256_shuffle_epi8(px, shufBG);
        const __m256i rg = _mm256_shuffle_epi8(px, shufRG);
        if (y) {
            const __m256i k = _mm256_add_epi32(_mm256_add_epi32(_mm256_madd_epi16(bg, wyBG), _mm256_madd_epi16(rg, wyRG)), yOff);
            Store8<0>(k, p, y + i);
        }
        if (cb) {
            const __m256i k = _mm256_add_epi32(_mm256_madd_epi16(bg, wbBG), _mm256_madd_epi16(rg, wbRG));
            Store8<1>(k, p, cb + i);
        }
        if (cr) {
            const __m256i k = _mm256_add_epi32(_mm256_madd_epi16(bg, wrBG), _mm256_slli_epi32(_mm256_madd_epi16(rg, wrRG), 1));
            Store8<2>(k, p, cr + i);
        }
    }
    return i;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

}  // namespace

void ConvertRow(const std::uint8_t* bgr, int n, float* y, float* cb, float* cr) {
#ifdef ORV_JPEG_SSE2
    // The last quad reads two bytes past its pixels: keep one pixel in hand.
    int i = 0;
#ifdef ORV_JPEG_AVX2
    if (HasAvx2()) i = ConvertRowAvx2(bgr, 0, n, y, cb, cr);
#endif
    for (; i + 5 <= n; i += 4) {
        ConvertQuad(bgr + 3 * i, y ? y + i : nullptr, cb ? cb + i : nullptr, cr ? cr + i : nullptr);
    }
    ConvertTail(bgr, i, n, y, cb, cr);
#else
    ConvertTail(bgr, 0, n, y, cb, cr);
#endif
}

}  // namespace orv::jpeg
