#include "snapshot/jpeg_dct.h"

#include <cmath>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORV_JPEG_SSE2 1
#endif

namespace orv::jpeg {

namespace {

// One 1-D pass of the AAN flow graph over eight values of type T (float, or four floats
// in a vector). The same operations in the same order in both paths keep them identical.
template <class T, class Mul>
inline void Aan(T& d0, T& d1, T& d2, T& d3, T& d4, T& d5, T& d6, T& d7, Mul mul) {
    const T tmp0 = d0 + d7, tmp7 = d0 - d7;
    const T tmp1 = d1 + d6, tmp6 = d1 - d6;
    const T tmp2 = d2 + d5, tmp5 = d2 - d5;
    const T tmp3 = d3 + d4, tmp4 = d3 - d4;

    // Even part.
    T tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    T tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    d0 = tmp10 + tmp11;
    d4 = tmp10 - tmp11;
    const T z1 = mul(tmp12 + tmp13, 0.707106781f);
    d2 = tmp13 + z1;
    d6 = tmp13 - z1;

    // Odd part.
    tmp10 = tmp4 + tmp5;
    tmp11 = tmp5 + tmp6;
    tmp12 = tmp6 + tmp7;
    const T z5 = mul(tmp10 - tmp12, 0.382683433f);
    const T z2 = mul(tmp10, 0.541196100f) + z5;
    const T z4 = mul(tmp12, 1.306562965f) + z5;
    const T z3 = mul(tmp11, 0.707106781f);
    const T z11 = tmp7 + z3, z13 = tmp7 - z3;
    d5 = z13 + z2;
    d3 = z13 - z2;
    d1 = z11 + z4;
    d7 = z11 - z4;
}

inline std::int16_t RoundToCoefficient(float v) {
    // Nearest, halves to even (the default rounding mode), saturated as a 16-bit pack does.
    float r = std::nearbyint(v);
    if (r > 32767.0f) r = 32767.0f;
    if (r < -32768.0f) r = -32768.0f;
    return static_cast<std::int16_t>(r);
}

}  // namespace

void DctQuantisePortable(const float* samples, int stride, const float* divisors, std::int16_t* out) {
    float w[64];
    auto mul = [](float a, float k) { return a * k; };
    for (int r = 0; r < 8; ++r) {
        float* d = w + 8 * r;
        const float* s = samples + r * stride;
        for (int c = 0; c < 8; ++c) d[c] = s[c];
        Aan(d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], mul);
    }
    for (int c = 0; c < 8; ++c) {
        float* d = w + c;
        Aan(d[0], d[8], d[16], d[24], d[32], d[40], d[48], d[56], mul);
    }
    for (int z = 0; z < 64; ++z) {
        const int n = kNaturalOfZigzag[z];
        out[z] = RoundToCoefficient(w[n] * divisors[n]);
    }
}

#ifdef ORV_JPEG_SSE2
namespace {

struct V {
    __m128 v;
};
inline V operator+(V a, V b) { return {_mm_add_ps(a.v, b.v)}; }
inline V operator-(V a, V b) { return {_mm_sub_ps(a.v, b.v)}; }

inline void Transpose4(V& a, V& b, V& c, V& d) { _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v); }

// 8 x 8 transpose of lo[r] (columns 0..3 of row r) and hi[r] (columns 4..7).
inline void Transpose8(V* lo, V* hi) {
    Transpose4(lo[0], lo[1], lo[2], lo[3]);
    Transpose4(hi[4], hi[5], hi[6], hi[7]);
    Transpose4(hi[0], hi[1], hi[2], hi[3]);
    Transpose4(lo[4], lo[5], lo[6], lo[7]);
    for (int i = 0; i < 4; ++i) {
        const V t = hi[i];
        hi[i] = lo[4 + i];
        lo[4 + i] = t;
    }
}

}  // namespace

void DctQuantise(const float* samples, int stride, const float* divisors, std::int16_t* out) {
    V lo[8], hi[8];
    for (int r = 0; r < 8; ++r) {
        lo[r].v = _mm_loadu_ps(samples + r * stride);
        hi[r].v = _mm_loadu_ps(samples + r * stride + 4);
    }
    auto mul = [](V a, float k) { return V{_mm_mul_ps(a.v, _mm_set1_ps(k))}; };
    // Rows: after the transpose lo[c] holds column c of rows 0..3 and hi[c] of rows 4..7.
    Transpose8(lo, hi);
    Aan(lo[0], lo[1], lo[2], lo[3], lo[4], lo[5], lo[6], lo[7], mul);
    Aan(hi[0], hi[1], hi[2], hi[3], hi[4], hi[5], hi[6], hi[7], mul);
    // Columns: back to row registers, then the same pass down the rows.
    Transpose8(lo, hi);
    Aan(lo[0], lo[1], lo[2], lo[3], lo[4], lo[5], lo[6], lo[7], mul);
    Aan(hi[0], hi[1], hi[2], hi[3], hi[4], hi[5], hi[6], hi[7], mul);

    alignas(16) std::int16_t natural[64];
    for (int r = 0; r < 8; ++r) {
        const __m128i a = _mm_cvtps_epi32(_mm_mul_ps(lo[r].v, _mm_load_ps(divisors + 8 * r)));
        const __m128i b = _mm_cvtps_epi32(_mm_mul_ps(hi[r].v, _mm_load_ps(divisors + 8 * r + 4)));
        _mm_store_si128(reinterpret_cast<__m128i*>(natural + 8 * r), _mm_packs_epi32(a, b));
    }
    for (int z = 0; z < 64; ++z) out[z] = natural[kNaturalOfZigzag[z]];
}

#else
void DctQuantise(const float* samples, int stride, const float* divisors, std::int16_t* out) {
    DctQuantisePortable(samples, stride, divisors, out);
}

#endif

}  // namespace orv::jpeg
