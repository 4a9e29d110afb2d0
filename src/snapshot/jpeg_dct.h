// The forward DCT of Arai, Agui and Nakajima in single precision (rows, then columns)
// and the quantisation straight into zig-zag order. Portable, with SSE2 where available.
#pragma once

#include <cstdint>

#include "snapshot/jpeg_tables.h"

namespace orv::jpeg {

// Transforms one 8 x 8 block of level-shifted samples (rows of `stride` floats) and
// quantises it: out[zigzag(r, c)] = round-half-even(value(r, c) * divisor(r, c)).
void DctQuantise(const float* samples, int stride, const float* divisors, std::int16_t* out);

// The plain C++ path of the same computation (the vectorised one must match it bit for bit).
void DctQuantisePortable(const float* samples, int stride, const float* divisors, std::int16_t* out);

// Bit z is set when zz[z] is not 0.
std::uint64_t NonZeroMask(const std::int16_t* zz);

}  // namespace orv::jpeg
