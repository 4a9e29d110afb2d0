#include "snapshot/jpeg_tables.h"

#include <cmath>

#include "snapshot/jpeg_error.h"

namespace orv::jpeg {

namespace {

// Walks the 8 x 8 block diagonally, as the standard's zig-zag sequence does.
constexpr std::array<std::uint8_t, 64> BuildZigzag() {
    std::array<std::uint8_t, 64> zz{};
    int r = 0, c = 0;
    for (int z = 0; z < 64; ++z) {
        zz[r * 8 + c] = static_cast<std::uint8_t>(z);
        if ((r + c) % 2 == 0) {  // moving up and to the right
            if (c == 7) ++r;
            else if (r == 0) ++c;
            else { --r; ++c; }
        } else {  // moving down and to the left
            if (r == 7) ++c;
            else if (c == 0) ++r;
            else { ++r; --c; }
        }
    }
    return zz;
}

constexpr std::array<std::uint8_t, 64> Invert(const std::array<std::uint8_t, 64>& zz) {
    std::array<std::uint8_t, 64> inv{};
    for (int i = 0; i < 64; ++i) inv[zz[i]] = static_cast<std::uint8_t>(i);
    return inv;
}

}  // namespace

const std::array<std::uint8_t, 64> kZigzagOfNatural = BuildZigzag();
const std::array<std::uint8_t, 64> kNaturalOfZigzag = Invert(BuildZigzag());

// T.81 Annex K, Table K.1.
const std::array<std::uint8_t, 64> kLuminanceBase = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

// T.81 Annex K, Table K.2.
const std::array<std::uint8_t, 64> kChrominanceBase = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

const std::array<double, 8> kAanScale = [] {
    std::array<double, 8> f{};
    const double pi = 3.14159265358979323846;
    for (int k = 0; k < 8; ++k) {
        const double a = k == 0 ? 1.0 : std::sqrt(2.0) * std::cos(k * pi / 16.0);
        f[k] = 1.0 / (2.0 * std::sqrt(2.0) * a);
    }
    return f;
}();

int QualityScale(int quality) {
    if (quality < 50) return static_cast<int>(std::nearbyint(5000.0 / quality));
    return 200 - 2 * quality;
}

std::uint16_t ScaledEntry(int base, int scale) {
    const double v = std::nearbyint((static_cast<double>(base) * scale + 50.0) / 100.0);
    if (v < 1.0) return 1;
    if (v > 255.0) return 255;
    return static_cast<std::uint16_t>(v);
}

void ComputeDivisors(QuantTable& table) {
    for (int z = 0; z < 64; ++z) {
        if (table.zigzag[z] < 1 || table.zigzag[z] > 255) throw JpegError(1, kErrBadQuantTable);
    }
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const int z = kZigzagOfNatural[r * 8 + c];
            table.divisors[r * 8 + c] =
                static_cast<float>(kAanScale[r] * kAanScale[c] / table.zigzag[z]);
        }
    }
}

QuantTable MakeQuantTable(const std::array<std::uint8_t, 64>& base, int scale) {
    QuantTable t;
    for (int n = 0; n < 64; ++n) t.zigzag[kZigzagOfNatural[n]] = ScaledEntry(base[n], scale);
    ComputeDivisors(t);
    return t;
}

}  // namespace orv::jpeg
