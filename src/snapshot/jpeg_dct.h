// The forward DCT of Arai, Agui and Nakajima in single precision (rows, then columns)
// and the quantisation straight into zig-zag order. Portable, with SSE2 where available.
#pragma once

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "snapshot/jpeg_tables.h"

namespace orv::jpeg {

// The ways of computing it: plain C++, SSE2 (x86-64), AVX2 (x86-64 processors that have
// it, chosen at run time). All give the same coefficients bit for bit: the same single-
// precision operations in the same order, no fused multiply-add.
enum class DctPath { Portable, Sse2, Avx2 };
bool DctPathAvailable(DctPath path);
// The fastest available path.
DctPath BestDctPath();

// Transforms a row of `blocks` 8 x 8 blocks of level-shifted samples side by side (rows of
// `stride` floats, block b starting at samples + 8 b) and quantises them into 64
// coefficients each at out + 64 b: out[zigzag(r, c)] = round-half-even(value(r, c) *
// divisor(r, c)); each block's non-zero mask (NonZeroMask) goes to masks[b]. One call per
// row: the path is chosen once, not per block. An unavailable path means the best one.
void DctQuantiseRow(DctPath path, const float* samples, int stride, int blocks, const float* divisors,
                    std::int16_t* out, std::uint64_t* masks);

// Bit z is set when zz[z] is not 0.
inline std::uint64_t NonZeroMask(const std::int16_t* zz) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t zeros = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(zz + 16 * i)), zero);
        const __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(zz + 16 * i + 8)), zero);
        zeros |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(a, b)))) << (16 * i);
    }
    return ~zeros;
#else
    std::uint64_t m = 0;
    for (int z = 0; z < 64; ++z) m |= static_cast<std::uint64_t>(zz[z] != 0) << z;
    return m;
#endif
}

}  // namespace orv::jpeg
