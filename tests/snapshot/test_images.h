// Deterministic pictures for the encoder's tests and benchmark, in the 24-bit DIB layout:
// a photo-like one (smooth gradients, soft shapes, fine noise) and a screenshot-like one
// (flat panels, hard edges, dense text-like strokes); the encoder's file of a picture; PSNR;
// a full-HD picture with the places its chosen pixels go under the whole-image operations.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "snapshot/cjpeg.h"
#include "snapshot/image_rows.h"

namespace orv::test {

// xorshift32: the same numbers everywhere.
struct Rng {
    std::uint32_t s;
    explicit Rng(std::uint32_t seed) : s(seed ? seed : 1u) {}
    std::uint32_t Next() { return s ^= s << 13, s ^= s >> 17, s ^= s << 5; }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
};

inline std::uint8_t Clamp255(double v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); }

inline BgrPicture PhotoLike(int w, int h, std::uint32_t seed = 7) {
    BgrPicture p(w, h);
    Rng rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double fx = static_cast<double>(x) / (w > 1 ? w - 1 : 1), fy = static_cast<double>(y) / (h > 1 ? h - 1 : 1);
            const double wave = 40.0 * std::sin(fx * 9.0 + fy * 4.0) * std::cos(fy * 7.0 - fx * 3.0);
            const double blob = 60.0 * std::exp(-((fx - 0.6) * (fx - 0.6) + (fy - 0.4) * (fy - 0.4)) * 18.0);
            const double noise = static_cast<double>(rng.Below(17)) - 8.0;
            p.Set(x, y, Clamp255(90 + 120 * fx + wave + blob + noise), Clamp255(70 + 100 * fy + 0.5 * wave + noise),
                  Clamp255(160 - 90 * fx + 30 * fy - blob + noise));
        }
    return p;
}

inline BgrPicture ScreenshotLike(int w, int h, std::uint32_t seed = 11) {
    BgrPicture p(w, h);
    Rng rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t r = 240, g = 240, b = 240;  // window background
            if (y < 30) { r = 32; g = 96; b = 176; }  // title bar
            else if (x < w / 5) { r = 225; g = 228; b = 232; }  // side panel
            if (y >= h - 40) { r = 20; g = 24; b = 32; }  // task bar
            // Text-like strokes: short dark runs on a line grid.
            const int line = (y - 40) / 18, inLine = (y - 40) % 18;
            if (y >= 40 && y < h - 40 && inLine >= 4 && inLine < 13 && x > w / 5 + 10 && x < w - 20) {
                const std::uint32_t word = static_cast<std::uint32_t>(x / 7 * 2654435761u + static_cast<std::uint32_t>(line) * 40503u);
                if ((word >> 7) % 5 != 0 && ((x * 3 + inLine * 5 + static_cast<int>(word)) % 4 == 0 || inLine == 8)) r = g = b = 30;
            }
            p.Set(x, y, r, g, b);
        }
    // A few coloured buttons and a photo thumbnail.
    for (int i = 0; i < 6; ++i) {
        const int x0 = rng.Below(w > 64 ? w - 64 : 1), y0 = rng.Below(h > 32 ? h - 32 : 1);
        const std::uint8_t cr = static_cast<std::uint8_t>(rng.Below(256)), cg = static_cast<std::uint8_t>(rng.Below(256)),
                           cb = static_cast<std::uint8_t>(rng.Below(256));
        for (int y = y0; y < y0 + 24 && y < h; ++y)
            for (int x = x0; x < x0 + 60 && x < w; ++x) p.Set(x, y, cr, cg, cb);
    }
    return p;
}

// The sampling factors H1, V1, H2, V2, H3, V3.
using Factors = std::array<int, 6>;

// The file of the whole picture; nothing when the picture cannot be sampled.
inline std::vector<std::uint8_t> Encode(const BgrPicture& p, int quality, Factors f = {2, 2, 1, 1, 1, 1},
                                        const std::string& comment = "") {
    cJpeg j;
    j.Quality(quality);
    j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    j.Comment(comment);
    return j.SampleBuffer(p.View(), p.Width(), p.Height(), 0, 0) == 0 ? j.Encode() : std::vector<std::uint8_t>{};
}

// Peak signal-to-noise ratio over all channels of two pictures of the same size.
inline double Psnr(const BgrView& a, const BgrView& b) {
    double sse = 0;
    for (int i = 0; i < 3 * a.width * a.height; ++i) sse += std::pow(a.Row(i / (3 * a.width))[i % (3 * a.width)] - b.Row(i / (3 * a.width))[i % (3 * a.width)], 2);
    return sse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * 3.0 * a.width * a.height / sse);
}

// Where chosen pixels of a full-HD picture (where the point mapping's products pass 32 bits) land
// under each whole-image operation, worked out by hand: corners, one near the centre, the last row.
inline constexpr int kHdW = 1920, kHdH = 1080, kHdFrom[6][2] = {{0, 0}, {1919, 0}, {0, 1079}, {1919, 1079}, {961, 538}, {6, 1079}};
struct HdCase { int op, width, height, to[6][2]; };  // op: 0 left to right, 1 upside down, else a Rotate angle
inline constexpr HdCase kHdCases[] = {{0, 1920, 1080, {{1919, 0}, {0, 0}, {1919, 1079}, {0, 1079}, {958, 538}, {1913, 1079}}},
                                      {1, 1920, 1080, {{0, 1079}, {1919, 1079}, {0, 0}, {1919, 0}, {961, 541}, {6, 0}}},
                                      {90, 1080, 1920, {{0, 1919}, {0, 0}, {1079, 1919}, {1079, 0}, {538, 958}, {1079, 1913}}},
                                      {180, 1920, 1080, {{1919, 1079}, {0, 1079}, {1919, 0}, {0, 0}, {958, 541}, {1913, 0}}},
                                      {270, 1080, 1920, {{1079, 0}, {1079, 1919}, {0, 0}, {0, 1919}, {541, 961}, {0, 6}}}};

// Grey 0x40 but for the chosen pixels: pixel i red 200 + i, green 10i + 1, blue 99.
inline BgrPicture HdSource() {
    BgrPicture p(kHdW, kHdH);
    std::fill_n(p.Bits(), p.Stride() * kHdH, std::uint8_t{0x40});
    for (int i = 0; i < 6; ++i) p.Set(kHdFrom[i][0], kHdFrom[i][1], static_cast<std::uint8_t>(200 + i), static_cast<std::uint8_t>(10 * i + 1), 99);
    return p;
}

}  // namespace orv::test
