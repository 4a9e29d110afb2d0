// A reader of JPEG marker segments for the tests, written from T.81 Annex B, independent of
// the encoder's writer; and T.81's zig-zag order (Figure A.6: the index of position r * 8 + c).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

inline constexpr std::uint8_t kFigureA6[64] = {0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42, 3,  8,  12, 17, 25, 30,
                                               41, 43, 9,  11, 18, 24, 31, 40, 44, 53, 10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38,
                                               46, 51, 55, 60, 21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63};

struct Segment {
    std::uint8_t marker = 0;            // the byte after 0xFF
    std::vector<std::uint8_t> payload;  // after the length field (none for SOI, EOI)
    std::string Text() const { return {payload.begin(), payload.end()}; }
};

// The segments from SOI to EOI, the coded data after each SOS skipped up to the next marker.
// Empty when a length runs past the end or a marker is missing where one belongs, without
// an EOI or with something after it.
inline std::vector<Segment> ReadSegments(const std::vector<std::uint8_t>& f) {
    std::vector<Segment> out;
    for (std::size_t i = 0; i + 1 < f.size() && f[i] == 0xFF;) {
        Segment s{f[i + 1], {}};
        i += 2;
        if (s.marker == 0xD9) return i == f.size() ? (out.push_back(s), out) : std::vector<Segment>{};
        if (s.marker != 0xD8) {
            const std::size_t length = i + 2 <= f.size() ? static_cast<std::size_t>(f[i] << 8 | f[i + 1]) : 0;
            if (length < 2 || i + length > f.size()) break;
            s.payload.assign(f.begin() + static_cast<std::ptrdiff_t>(i + 2), f.begin() + static_cast<std::ptrdiff_t>(i + length));
            for (i += length; s.marker == 0xDA && i + 1 < f.size() && !(f[i] == 0xFF && f[i + 1] != 0);) i += f[i] == 0xFF ? 2 : 1;
        }
        out.push_back(std::move(s));
    }
    return {};
}

}  // namespace orv::test
