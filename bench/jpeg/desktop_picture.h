// The benchmark's desktop screenshot (a wallpaper gradient, two framed windows with
// anti-aliased text, lists, icons, a picture, a task bar) in the 24-bit DIB layout.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "snapshot/image_rows.h"
#include "test_images.h"

namespace orv::bench {

using test::Clamp255;
using test::Rng;

// A desktop as it looks in a real screenshot: most of the area is flat (window
// backgrounds, panels, bars), with anti-aliased text in lines and paragraphs, window
// frames and title bars, a few gradients, small icons, a selection highlight, a drop
// shadow and one photo-like picture. Any size; the layout scales with it.
class DesktopPainter {
public:
    DesktopPainter(int w, int h, std::uint32_t seed) : p_(w, h), rng_(seed), w_(w), h_(h) { MakeFont(); }

    BgrPicture Paint() {
        // Wallpaper: a soft diagonal gradient.
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const double t = (static_cast<double>(x) / w_ + 2.0 * y / h_) / 3.0;
                Put(x, y, Clamp255(24 + 40 * t), Clamp255(70 + 60 * t), Clamp255(120 + 70 * t));
            }
        // Desktop icons down the left edge.
        for (int i = 0; i < 6; ++i) {
            const int y = 16 + 80 * i;
            Icon(18, y, 40);
            Text(10, y + 46, 60, {255, 255, 255}, 1, 2);
        }
        const int barH = std::max(4, h_ / 27);  // task bar (40 at 1080)
        // The big window (a browser or a document), then the smaller one over it.
        const int ax = w_ / 14, ay = h_ / 30, aw = w_ * 62 / 100, ah = h_ * 82 / 100;
        Window(ax, ay, aw, ah, true);
        const int bx = w_ * 55 / 100, by = h_ * 14 / 100, bw = w_ * 42 / 100, bh = h_ * 66 / 100;
        Shadow(bx, by, bw, bh, 10);
        Window(bx, by, bw, bh, false);
        // The task bar with its buttons, icons and a clock.
        Fill(0, h_ - barH, w_, barH, {32, 34, 40});
        Fill(0, h_ - barH, w_, 1, {70, 72, 80});
        for (int i = 0; i < 9; ++i) {
            const int x = 60 + 52 * i;
            if (i == 2) Fill(x - 6, h_ - barH + 2, 44, barH - 4, {60, 64, 74});
            Icon(x, h_ - barH + (barH - 28) / 2, 28);
        }
        Text(w_ - 90, h_ - barH + barH / 2 - 6, w_ - 10, {230, 230, 230}, 1, 2);
        return std::move(p_);
    }

private:
    struct Rgb {
        std::uint8_t r, g, b;
    };
    static constexpr int kCellW = 7, kCellH = 13, kGlyphs = 48;

    void Put(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) p_.Set(x, y, r, g, b);
    }
    void Blend(int x, int y, Rgb c, int alpha /* 0..255 */) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0) return;
        std::uint8_t* q = p_.Row(y) + 3 * x;
        const int a = std::min(alpha, 255);
        q[0] = static_cast<std::uint8_t>((q[0] * (255 - a) + c.b * a + 127) / 255);
        q[1] = static_cast<std::uint8_t>((q[1] * (255 - a) + c.g * a + 127) / 255);
        q[2] = static_cast<std::uint8_t>((q[2] * (255 - a) + c.r * a + 127) / 255);
    }
    void Fill(int x0, int y0, int w, int h, Rgb c) {
        for (int y = std::max(y0, 0); y < std::min(y0 + h, h_); ++y)
            for (int x = std::max(x0, 0); x < std::min(x0 + w, w_); ++x) Put(x, y, c.r, c.g, c.b);
    }
    void Frame(int x0, int y0, int w, int h, Rgb c) {
        Fill(x0, y0, w, 1, c);
        Fill(x0, y0 + h - 1, w, 1, c);
        Fill(x0, y0, 1, h, c);
        Fill(x0 + w - 1, y0, 1, h, c);
    }
    void VerticalGradient(int x0, int y0, int w, int h, Rgb a, Rgb b) {
        for (int y = 0; y < h; ++y) {
            const double t = h > 1 ? static_cast<double>(y) / (h - 1) : 0;
            Fill(x0, y0 + y, w, 1, {Clamp255(a.r + (b.r - a.r) * t), Clamp255(a.g + (b.g - a.g) * t), Clamp255(a.b + (b.b - a.b) * t)});
        }
    }
    void Shadow(int x0, int y0, int w, int h, int size) {
        for (int d = size; d >= 1; --d) {
            const int alpha = 60 * (size - d + 1) / size / 3;
            for (int x = x0 - d; x < x0 + w + d; ++x) {
                Blend(x, y0 - d, {0, 0, 0}, alpha);
                Blend(x, y0 + h + d - 1, {0, 0, 0}, alpha);
            }
            for (int y = y0 - d + 1; y < y0 + h + d - 1; ++y) {
                Blend(x0 - d, y, {0, 0, 0}, alpha);
                Blend(x0 + w + d - 1, y, {0, 0, 0}, alpha);
            }
        }
    }

    // Glyphs drawn on a doubled grid from stems, bars and bowls, then halved: the
    // coverage of each pixel (0..4 quarters) gives anti-aliased edges.
    void MakeFont() {
        for (auto& g : font_) {
            bool hi[2 * kCellH][2 * kCellW] = {};
            const bool asc = rng_.Below(3) == 0, desc = !asc && rng_.Below(5) == 0;
            const int top = asc ? 2 : 8, bottom = desc ? 25 : 19;
            const int stems = rng_.Below(4);  // which vertical strokes: left, right, both
            auto stem = [&](int c0, int r0, int r1) {
                for (int r = r0; r <= r1; ++r) hi[r][c0] = hi[r][c0 + 1] = hi[r][c0 + 2] = true;
            };
            auto bar = [&](int r0, int c0, int c1) {
                for (int c = c0; c <= c1; ++c) hi[r0][c] = hi[r0 + 1][c] = hi[r0 + 2][c] = true;
            };
            if (stems != 1) stem(1, stems == 0 ? top : 8, bottom);
            if (stems != 0) stem(9, stems == 1 ? top : 8, 19);
            if (rng_.Below(2)) bar(8, 1, 11);
            if (rng_.Below(2)) bar(17, 1, 11);
            if (rng_.Below(3) == 0) bar(13, 2, 10);
            if (rng_.Below(4) == 0)
                for (int i = 0; i < 11; ++i) hi[8 + i][2 + (i * 9) / 11] = hi[8 + i][3 + (i * 9) / 11] = true;  // a diagonal
            for (int r = 0; r < kCellH; ++r)
                for (int c = 0; c < kCellW; ++c)
                    g[static_cast<std::size_t>(r * kCellW + c)] = static_cast<std::uint8_t>(
                        (hi[2 * r][2 * c] + hi[2 * r][2 * c + 1] + hi[2 * r + 1][2 * c] + hi[2 * r + 1][2 * c + 1]) * 255 / 4);
        }
    }
    // Words of random glyphs from x0 up to x1 on one line; `scale` 2 draws a heading.
    // Returns the x after the last word.
    int Text(int x0, int y0, int x1, Rgb c, int scale, int words) {
        int x = x0;
        for (int i = 0; i < words; ++i) {
            const int n = 2 + rng_.Below(8);
            if (x + n * kCellW * scale > x1) break;
            for (int k = 0; k < n; ++k, x += (kCellW - 1) * scale) {
                const auto& g = font_[static_cast<std::size_t>(rng_.Below(kGlyphs))];
                for (int r = 0; r < kCellH * scale; ++r)
                    for (int col = 0; col < kCellW * scale; ++col)
                        Blend(x + col, y0 + r, c, g[static_cast<std::size_t>((r / scale) * kCellW + col / scale)]);
            }
            x += 4 * scale;
        }
        return x;
    }
    // Paragraphs of text lines in the box, with headings and links; stops at the bottom.
    void Paragraphs(int x0, int y0, int x1, int y1) {
        int y = y0;
        while (y + 2 * kCellH < y1) {
            if (rng_.Below(4) == 0 && y + 2 * kCellH * 2 < y1) {
                Text(x0, y, x1, {20, 20, 30}, 2, 3 + rng_.Below(4));
                y += 2 * kCellH + 12;
            }
            const int lines = 2 + rng_.Below(6);
            for (int l = 0; l < lines && y + kCellH < y1; ++l, y += kCellH + 5) {
                const bool last = l == lines - 1;
                int x = x0;
                while (x < x1 - 60) {
                    const bool link = rng_.Below(12) == 0;
                    const int nx = Text(x, y, last && x > x0 + (x1 - x0) / 3 ? x : x1, link ? Rgb{20, 90, 200} : Rgb{40, 40, 40}, 1, 1);
                    if (link) Fill(x, y + kCellH, nx - x - 4, 1, {20, 90, 200});
                    if (nx == x) break;
                    x = nx;
                }
            }
            y += 12;
        }
    }
    void Icon(int x0, int y0, int size) {
        const Rgb a{static_cast<std::uint8_t>(rng_.Below(256)), static_cast<std::uint8_t>(rng_.Below(256)),
                    static_cast<std::uint8_t>(rng_.Below(256))};
        const Rgb b{static_cast<std::uint8_t>(a.r / 2), static_cast<std::uint8_t>(a.g / 2), static_cast<std::uint8_t>(a.b / 2)};
        const int r = size / 5;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int dx = std::max({r - x, x - (size - 1 - r), 0}), dy = std::max({r - y, y - (size - 1 - r), 0});
                const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy)) - r;
                if (d > 0.5) continue;
                const double t = static_cast<double>(y) / size;
                Blend(x0 + x, y0 + y, {Clamp255(a.r + (b.r - a.r) * t), Clamp255(a.g + (b.g - a.g) * t), Clamp255(a.b + (b.b - a.b) * t)},
                      d < -0.5 ? 255 : static_cast<int>((0.5 - d) * 255));
            }
        // A white symbol: a disc or a bar.
        if (rng_.Below(2)) {
            Fill(x0 + size / 4, y0 + size * 2 / 5, size / 2, size / 5, {255, 255, 255});
        } else {
            const double c = (size - 1) / 2.0, rad = size / 4.0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const double d = std::hypot(x - c, y - c) - rad;
                    if (d < 0.5) Blend(x0 + x, y0 + y, {255, 255, 255}, d < -0.5 ? 255 : static_cast<int>((0.5 - d) * 255));
                }
        }
    }
    void Picture(int x0, int y0, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
                const double sky = fy < 0.45 ? 1.0 : 0.0;
                const double hill = 30 * std::sin(fx * 11.0) * std::cos(fy * 5.0);
                const double noise = rng_.Below(9) - 4.0;
                if (sky > 0) Put(x0 + x, y0 + y, Clamp255(120 + 80 * fy + noise), Clamp255(170 + 50 * fy + noise), Clamp255(235 - 20 * fy + noise));
                else Put(x0 + x, y0 + y, Clamp255(70 + hill + 40 * fx + noise), Clamp255(120 + hill + noise), Clamp255(50 + 0.5 * hill + noise));
            }
    }
    void Window(int x0, int y0, int w, int h, bool document) {
        const int title = 30, tool = 40;
        Fill(x0, y0, w, h, {255, 255, 255});
        VerticalGradient(x0, y0, w, title, {238, 242, 248}, {214, 222, 234});
        Icon(x0 + 8, y0 + 7, 16);
        Text(x0 + 32, y0 + 9, x0 + w / 2, {10, 10, 10}, 1, 4);
        for (int i = 0; i < 3; ++i) {  // caption buttons
            const int bx = x0 + w - 46 * (3 - i);
            if (i == 2) Fill(bx, y0, 46, title - 1, {232, 17, 35});
            Fill(bx + 18, y0 + 14, 10, 1, i == 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0});
        }
        Fill(x0, y0 + title, w, tool, {245, 246, 248});
        for (int i = 0; i < 8; ++i) Icon(x0 + 10 + 34 * i, y0 + title + 8, 24);
        Fill(x0, y0 + title + tool - 1, w, 1, {218, 220, 224});
        const int top = y0 + title + tool;
        if (document) {
            // Address bar, a side column, paragraphs and a picture.
            Frame(x0 + 300, y0 + title + 6, w - 320, 28, {190, 194, 200});
            Text(x0 + 310, y0 + title + 13, x0 + w - 30, {60, 60, 60}, 1, 3);
            Fill(x0 + w - 260, top, 260, h - title - tool, {247, 248, 250});
            for (int i = 0; top + 20 + 28 * i < y0 + h - 20; ++i) Text(x0 + w - 240, top + 20 + 28 * i, x0 + w - 20, {20, 90, 200}, 1, 3);
            const int px = x0 + 40, py = top + 30;
            Picture(px, py, std::min(360, w / 3), std::min(220, h / 3));
            Paragraphs(px + std::min(360, w / 3) + 30, py, x0 + w - 290, py + std::min(220, h / 3));
            Paragraphs(px, py + std::min(220, h / 3) + 24, x0 + w - 290, y0 + h - 10);
        } else {
            // A navigation pane, a list with alternating rows, a selected row, a status bar.
            const int pane = w / 4;
            Fill(x0, top, pane, h - title - tool, {243, 243, 243});
            Fill(x0 + pane, top, 1, h - title - tool, {220, 220, 220});
            for (int i = 0; top + 12 + 26 * i < y0 + h - 40; ++i) {
                Icon(x0 + 12, top + 10 + 26 * i, 16);
                Text(x0 + 36, top + 12 + 26 * i, x0 + pane - 8, {30, 30, 30}, 1, 2);
            }
            Fill(x0 + pane + 1, top, w - pane - 1, 28, {250, 250, 250});
            const int cols[4] = {x0 + pane + 40, x0 + pane + (w - pane) / 2, x0 + pane + (w - pane) * 7 / 10, x0 + pane + (w - pane) * 85 / 100};
            for (int c = 0; c < 4; ++c) Text(cols[c], top + 8, cols[c] + 120, {90, 90, 90}, 1, 1);
            for (int i = 0; top + 32 + 24 * (i + 1) < y0 + h - 26; ++i) {
                const int ry = top + 32 + 24 * i;
                if (i == 5) Fill(x0 + pane + 1, ry, w - pane - 2, 24, {204, 232, 255});
                else if (i % 2) Fill(x0 + pane + 1, ry, w - pane - 2, 24, {248, 249, 251});
                Icon(x0 + pane + 12, ry + 4, 16);
                for (int c = 0; c < 4; ++c) Text(cols[c], ry + 6, c < 3 ? cols[c + 1] - 10 : x0 + w - 10, {30, 30, 30}, 1, c == 0 ? 3 : 1);
            }
            Fill(x0, y0 + h - 24, w, 24, {240, 240, 240});
            Text(x0 + 10, y0 + h - 19, x0 + w / 2, {60, 60, 60}, 1, 4);
        }
        Frame(x0, y0, w, h, {120, 124, 130});
    }

    BgrPicture p_;
    Rng rng_;
    int w_, h_;
    std::array<std::array<std::uint8_t, kCellW * kCellH>, kGlyphs> font_{};
};

inline BgrPicture DesktopScreenshot(int w, int h, std::uint32_t seed = 13) { return DesktopPainter(w, h, seed).Paint(); }

}  // namespace orv::bench
