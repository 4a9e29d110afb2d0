#include "snapshot/jpeg_dct.h"

#include <cmath>

#include "snapshot/jpeg_simd.h"

#ifdef ORV_JPEG_AVX2
// The flow graph below is inlined (always_inline) into the AVX2 function, so no eight-
// float vector ever crosses a call without AVX: GCC's ABI note on the template is moot.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif
#endif

namespace orv::jpeg {

namespace {

// One 1-D pass of the AAN flow graph over eight values of type T (float, or four floats
// in a vector). The same operations in the same order in both paths keep them identical.
// mul(out, a, k) sets out = a * k; it takes and gives its vectors by reference, so no wide
// vector is passed by value through a function compiled without AVX (Clang refuses that).
template <class T, class Mul>
#if defined(__GNUC__) || defined(__clang__)
__attribute__((always_inline))
#endif
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
    T z1;
    mul(z1, tmp12 + tmp13, 0.707106781f);
    d2 = tmp13 + z1;
    d6 = tmp13 - z1;

    // Odd part.
    tmp10 = tmp4 + tmp5;
    tmp11 = tmp5 + tmp6;
    tmp12 = tmp6 + tmp7;
    T z5, z2, z4, z3;
    mul(z5, tmp10 - tmp12, 0.382683433f);
    mul(z2, tmp10, 0.541196100f);
    z2 = z2 + z5;
    mul(z4, tmp12, 1.306562965f);
    z4 = z4 + z5;
    mul(z3, tmp11, 0.707106781f);
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

void DctQuantisePortable(const float* samples, int stride, const float* divisors, std::int16_t* out) {
    float w[64];
    auto mul = [](float& out, const float& a, float k) { out = a * k; };
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

}  // namespace

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

void DctQuantiseSse2(const float* samples, int stride, const float* divisors, std::int16_t* out) {
    V lo[8], hi[8];
    for (int r = 0; r < 8; ++r) {
        lo[r].v = _mm_loadu_ps(samples + r * stride);
        hi[r].v = _mm_loadu_ps(samples + r * stride + 4);
    }
    auto mul = [](V& out, const V& a, float k) { out.v = _mm_mul_ps(a.v, _mm_set1_ps(k)); };
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

}  // namespace
#endif

#ifdef ORV_JPEG_AVX2
namespace {

#define ORV_TARGET_AVX2 __attribute__((target("avx2")))

// Eight floats: one whole row or column of the block per register.
typedef float V8 __attribute__((vector_size(32)));

struct MulAvx2 {
    ORV_TARGET_AVX2 void operator()(V8& out, const V8& a, float k) const { out = a * k; }
};

ORV_TARGET_AVX2 inline void Transpose8x8(__m256* r) {
    const __m256 t0 = _mm256_unpacklo_ps(r[0], r[1]), t1 = _mm256_unpackhi_ps(r[0], r[1]);
    const __m256 t2 = _mm256_unpacklo_ps(r[2], r[3]), t3 = _mm256_unpackhi_ps(r[2], r[3]);
    const __m256 t4 = _mm256_unpacklo_ps(r[4], r[5]), t5 = _mm256_unpackhi_ps(r[4], r[5]);
    const __m256 t6 = _mm256_unpacklo_ps(r[6], r[7]), t7 = _mm256_unpackhi_ps(r[6], r[7]);
    const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44), u1 = _mm256_shuffle_ps(t0, t2, 0xEE);
    const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44), u3 = _mm256_shuffle_ps(t1, t3, 0xEE);
    const __m256 u4 = _mm256_shuffle_ps(t4, t6, 0x44), u5 = _mm256_shuffle_ps(t4, t6, 0xEE);
    const __m256 u6 = _mm256_shuffle_ps(t5, t7, 0x44), u7 = _mm256_shuffle_ps(t5, t7, 0xEE);
    r[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
    r[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
    r[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
    r[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
    r[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
    r[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
    r[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
    r[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
}

// Natural position of each zig-zag index (T.81 Figure A.6; the same as kNaturalOfZigzag,
// here as a constant for the shuffle masks of the AVX2 path).
constexpr std::uint8_t kNatural[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                       12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                       35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                       58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Zig-zag by byte shuffles: output group g (indices 8g .. 8g + 7) is the OR of the rows it
// draws from, each shuffled into place with the other bytes zeroed (index 0x80).
struct ZigzagShuffles {
    alignas(16) std::uint8_t mask[8][8][16];
    bool used[8][8];
};
constexpr ZigzagShuffles MakeZigzagShuffles() {
    ZigzagShuffles t{};
    for (int g = 0; g < 8; ++g)
        for (int r = 0; r < 8; ++r) {
            t.used[g][r] = false;
            for (int i = 0; i < 8; ++i) {
                const int n = kNatural[8 * g + i];
                const bool here = n / 8 == r;
                t.used[g][r] = t.used[g][r] || here;
                t.mask[g][r][2 * i] = here ? static_cast<std::uint8_t>(2 * (n % 8)) : 0x80;
                t.mask[g][r][2 * i + 1] = here ? static_cast<std::uint8_t>(2 * (n % 8) + 1) : 0x80;
            }
        }
    return t;
}
constexpr ZigzagShuffles kZigzagShuffles = MakeZigzagShuffles();

// Also gives the block's non-zero mask (the same as NonZeroMask(out)), from the registers.
ORV_TARGET_AVX2 inline std::uint64_t StoreZigzagShuffled(const std::int16_t* natural, std::int16_t* out) {
    __m128i rows[8];
    for (int r = 0; r < 8; ++r) rows[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(natural + 8 * r));
    __m128i zeros[8];
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 8
#elif defined(__clang__)
#pragma unroll
#endif
    for (int g = 0; g < 8; ++g) {
        __m128i acc = _mm_setzero_si128();
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 8
#elif defined(__clang__)
#pragma unroll
#endif
        for (int r = 0; r < 8; ++r) {
            if (!kZigzagShuffles.used[g][r]) continue;
            const __m128i m = _mm_load_si128(reinterpret_cast<const __m128i*>(kZigzagShuffles.mask[g][r]));
            acc = _mm_or_si128(acc, _mm_shuffle_epi8(rows[r], m));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8 * g), acc);
        zeros[g] = _mm_cmpeq_epi16(acc, _mm_setzero_si128());
    }
    std::uint64_t zeroBits = 0;
    for (int i = 0; i < 4; ++i) {
        zeroBits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(zeros[2 * i], zeros[2 * i + 1]))))
                    << (16 * i);
    }
    return ~zeroBits;
}

// Returns the block's non-zero mask.
ORV_TARGET_AVX2 std::uint64_t DctQuantiseAvx2(const float* samples, int stride, const float* divisors, std::int16_t* out) {
    __m256 r[8];
    for (int i = 0; i < 8; ++i) r[i] = _mm256_loadu_ps(samples + i * stride);
    // Rows: after the transpose r[c] holds column c, one row per lane.
    Transpose8x8(r);
    V8 v[8];
    for (int i = 0; i < 8; ++i) v[i] = reinterpret_cast<V8>(r[i]);
    Aan(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], MulAvx2{});
    // Columns: back to one row per register.
    for (int i = 0; i < 8; ++i) r[i] = reinterpret_cast<__m256>(v[i]);
    Transpose8x8(r);
    for (int i = 0; i < 8; ++i) v[i] = reinterpret_cast<V8>(r[i]);
    Aan(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], MulAvx2{});

    alignas(32) std::int16_t natural[64];
    for (int i = 0; i < 8; i += 2) {
        const __m256i a = _mm256_cvtps_epi32(_mm256_mul_ps(reinterpret_cast<__m256>(v[i]), _mm256_loadu_ps(divisors + 8 * i)));
        const __m256i b =
            _mm256_cvtps_epi32(_mm256_mul_ps(reinterpret_cast<__m256>(v[i + 1]), _mm256_loadu_ps(divisors + 8 * i + 8)));
        // The pack works within 128-bit halves: put rows i and i + 1 back in order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(natural + 8 * i), _mm256_permute4x64_epi64(_mm256_packs_epi32(a, b), 0xD8));
    }
    return StoreZigzagShuffled(natural, out);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace
#endif

bool DctPathAvailable(DctPath path) {
    switch (path) {
    case DctPath::Portable: return true;
#ifdef ORV_JPEG_SSE2
    case DctPath::Sse2: return true;
#endif
#ifdef ORV_JPEG_AVX2
    case DctPath::Avx2: return HasAvx2();
#endif
    default: return false;
    }
}

DctPath BestDctPath() {
    if (DctPathAvailable(DctPath::Avx2)) return DctPath::Avx2;
    if (DctPathAvailable(DctPath::Sse2)) return DctPath::Sse2;
    return DctPath::Portable;
}

void DctQuantiseRow(DctPath path, const float* samples, int stride, int blocks, const float* divisors,
                    std::int16_t* out, std::uint64_t* masks) {
    if (!DctPathAvailable(path)) path = BestDctPath();
    switch (path) {
#ifdef ORV_JPEG_AVX2
    case DctPath::Avx2:
        for (int b = 0; b < blocks; ++b, samples += 8, out += 64) masks[b] = DctQuantiseAvx2(samples, stride, divisors, out);
        return;
#endif
#ifdef ORV_JPEG_SSE2
    case DctPath::Sse2:
        for (int b = 0; b < blocks; ++b, samples += 8, out += 64) {
            DctQuantiseSse2(samples, stride, divisors, out);
            masks[b] = NonZeroMask(out);
        }
        return;
#endif
    default:
        for (int b = 0; b < blocks; ++b, samples += 8, out += 64) {
            DctQuantisePortable(samples, stride, divisors, out);
            masks[b] = NonZeroMask(out);
        }
        return;
    }
}

}  // namespace orv::jpeg
