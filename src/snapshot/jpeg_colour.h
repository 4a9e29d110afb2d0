// Colour conversion of 24-bit rows (blue, green, red) to the encoder's components. The
// values are those of the double-precision formulas rounded to single precision:
//   Y  =  0.299 R + 0.587 G + 0.114 B - 128
//   Cb = -0.16874 R - 0.33126 G + 0.5 B
//   Cr =  0.5 R - 0.41869 G - 0.08131 B
// The fast path gets them from exact integer sums and one correctly rounded division,
// which gives the same single-precision value except where the exact value is 0; those
// pixels take the double formula itself. Portable, with SSE2 where available.
#pragma once

#include <cstdint>

namespace orv::jpeg {

// Converts n pixels of a BGR row. Any output pointer may be null (component not wanted).
void ConvertRow(const std::uint8_t* bgr, int n, float* y, float* cb, float* cr);

}  // namespace orv::jpeg
