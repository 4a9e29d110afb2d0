#include "snapshot/jpeg_colour.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORV_JPEG_SSE2 1
#endif

namespace orv::jpeg {

float LumaOf(int r, int g, int b) {
    return static_cast<float>(0.299 * r + 0.587 * g + 0.114 * b - 128.0);
}
float BlueDiffOf(int r, int g, int b) {
    return static_cast<float>(-0.16874 * r - 0.33126 * g + 0.5 * b);
}
float RedDiffOf(int r, int g, int b) {
    return static_cast<float>(0.5 * r - 0.41869 * g - 0.08131 * b);
}

namespace {

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
// Eight pixels: numerators in 32-bit lanes, converted and divided four at a time; lanes
// whose numerator is 0 are patched with the double formula.
template <int Component>
inline void Eight(const int* rr, const int* gg, const int* bb, float* out, int cr, int cg, int cbv,
                  int bias, float den) {
    const __m128i kr = _mm_set1_epi32(cr), kg = _mm_set1_epi32(cg), kb = _mm_set1_epi32(cbv);
    const __m128 d = _mm_set1_ps(den);
    const __m128i zero = _mm_setzero_si128();
    for (int h = 0; h < 8; h += 4) {
        const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rr + h));
        const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(gg + h));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bb + h));
        // 16 x 16 -> 32-bit products via madd on interleaved (value, 0) pairs.
        const __m128i k = _mm_add_epi32(
            _mm_add_epi32(_mm_madd_epi16(r, kr), _mm_madd_epi16(g, kg)),
            _mm_add_epi32(_mm_madd_epi16(b, kb), _mm_set1_epi32(bias)));
        _mm_storeu_ps(out + h, _mm_div_ps(_mm_cvtepi32_ps(k), d));
        const int zeroLanes = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(k, zero)));
        if (zeroLanes) {
            for (int l = 0; l < 4; ++l) {
                if (zeroLanes & (1 << l)) out[h + l] = FromNum<Component>(0, rr[h + l], gg[h + l], bb[h + l]);
            }
        }
    }
}
#endif

}  // namespace

void ConvertRowPortable(const std::uint8_t* bgr, int n, float* y, float* cb, float* cr) {
    ConvertTail(bgr, 0, n, y, cb, cr);
}

void ConvertRow(const std::uint8_t* bgr, int n, float* y, float* cb, float* cr) {
#ifdef ORV_JPEG_SSE2
    // Coefficients in the low 16 bits of each 32-bit lane; the pixel values are < 256,
    // so madd of (v, 0) with (k, 0) gives v * k. Coefficients beyond 16 bits are split.
    int i = 0;
    alignas(16) int rr[8], gg[8], bb[8];
    for (; i + 8 <= n; i += 8) {
        const std::uint8_t* p = bgr + 3 * i;
        for (int j = 0; j < 8; ++j) {
            bb[j] = p[3 * j];
            gg[j] = p[3 * j + 1];
            rr[j] = p[3 * j + 2];
        }
        if (y) Eight<0>(rr, gg, bb, y + i, 299, 587, 114, -128000, 1000.0f);
        if (cb) Eight<1>(rr, gg, bb, cb + i, -8437, -16563, 25000, 0, 50000.0f);
        if (cr) {
            // 50000 and -41869 do not fit a signed 16-bit factor: use halves.
            const __m128i zero = _mm_setzero_si128();
            for (int h = 0; h < 8; h += 4) {
                const __m128i r = _mm_load_si128(reinterpret_cast<const __m128i*>(rr + h));
                const __m128i g = _mm_load_si128(reinterpret_cast<const __m128i*>(gg + h));
                const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(bb + h));
                const __m128i r2 = _mm_madd_epi16(r, _mm_set1_epi32(25000));
                const __m128i g2 = _mm_madd_epi16(g, _mm_set1_epi32(-20935));  // 2 * -20935 = -41870
                const __m128i k = _mm_sub_epi32(
                    _mm_add_epi32(_mm_add_epi32(r2, r2), _mm_add_epi32(_mm_add_epi32(g2, g2), g)),
                    _mm_madd_epi16(b, _mm_set1_epi32(8131)));
                _mm_storeu_ps(cr + i + h, _mm_div_ps(_mm_cvtepi32_ps(k), _mm_set1_ps(100000.0f)));
                const int zeroLanes = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(k, zero)));
                if (zeroLanes) {
                    for (int l = 0; l < 4; ++l) {
                        if (zeroLanes & (1 << l)) cr[i + h + l] = RedDiffOf(rr[h + l], gg[h + l], bb[h + l]);
                    }
                }
            }
        }
    }
    ConvertTail(bgr, i, n, y, cb, cr);
#else
    ConvertTail(bgr, 0, n, y, cb, cr);
#endif
}

}  // namespace orv::jpeg
