// Fixed tables of the baseline encoder (ITU T.81) and the quality scaling of the
// quantisation tables. Portable.
#pragma once

#include <array>
#include <cstdint>

namespace orv::jpeg {

// Zig-zag index of each natural position r * 8 + c (T.81 Figure A.6) and the inverse.
extern const std::array<std::uint8_t, 64> kZigzagOfNatural;
extern const std::array<std::uint8_t, 64> kNaturalOfZigzag;

// Annex K Table K.1 (luminance) and Table K.2 (chrominance), in natural order.
extern const std::array<std::uint8_t, 64> kLuminanceBase;
extern const std::array<std::uint8_t, 64> kChrominanceBase;

// Scale factors of the AAN floating-point DCT: f[k] = 1 / (2 sqrt(2) a[k]),
// a[0] = 1, a[k] = sqrt(2) cos(k pi / 16).
extern const std::array<double, 8> kAanScale;

// The percentage applied to the base tables for a quality of 1..100:
// 5000 / q rounded halves to even below 50, 200 - 2q from 50 up.
int QualityScale(int quality);

// One scaled entry: (base * scale + 50) / 100 rounded halves to even, limited to 1..255.
std::uint16_t ScaledEntry(int base, int scale);

// A quantisation table in zig-zag order and its 64 divisors in natural order:
// divisor(r, c) = f[r] * f[c] / Q[zigzag(r, c)] as a single-precision value.
struct QuantTable {
    std::array<std::uint16_t, 64> zigzag{};
    alignas(16) std::array<float, 64> divisors{};
};

// Scales a base table (natural order) for the quality's scale.
QuantTable MakeQuantTable(const std::array<std::uint8_t, 64>& base, int scale);

// Builds the divisors of a table already in zig-zag order. Raises "Bad Quantization Table"
// for a value outside 1..255.
void ComputeDivisors(QuantTable& table);

}  // namespace orv::jpeg
