#include "app/win/bar_images.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace orv {

namespace {

// The bar's colours.
constexpr COLORREF kBodyTop = RGB(0x3E, 0x53, 0x7A);
constexpr COLORREF kBodyBottom = RGB(0x1A, 0x24, 0x38);
constexpr COLORREF kHighlight = RGB(0x8C, 0xA8, 0xDA);  // the top row and the left edge
constexpr COLORREF kShadow = RGB(0x09, 0x0E, 0x18);     // the bottom row and the right edge
constexpr COLORREF kEtchDark = RGB(0x12, 0x1A, 0x2A);
constexpr COLORREF kEtchLight = RGB(0x5C, 0x74, 0xA2);
// The image buttons' faces.
constexpr COLORREF kFaceTop = RGB(0x5E, 0x78, 0xA8), kFaceBottom = RGB(0x33, 0x45, 0x69);
constexpr COLORREF kFaceDownTop = RGB(0x22, 0x2F, 0x49), kFaceDownBottom = RGB(0x2E, 0x3E, 0x5E);
constexpr COLORREF kFaceRim = RGB(0x0E, 0x15, 0x24), kFaceShine = RGB(0x9D, 0xB6, 0xE2);
constexpr COLORREF kGlyphLight = RGB(0xF2, 0xF6, 0xFF), kGlyphQuit = RGB(0xFF, 0xC4, 0xB8);

constexpr int kSuper = 4;  // shapes are drawn at 4 x 4 samples a pixel

COLORREF Mix(COLORREF a, COLORREF b, int num, int den) {
    if (den <= 0) return a;
    auto ch = [&](int x, int y) { return x + (y - x) * num / den; };
    return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

// The background's colour on row y of the bar: the body's gradient under the border strips.
COLORREF RowColour(const BarLayout& l, int y) {
    if (y <= 0) return kHighlight;
    if (y >= l.height - 1) return kShadow;
    const COLORREF body = Mix(kBodyTop, kBodyBottom, y, l.height - 1);
    if (y < l.topBorder.Bottom()) return Mix(Mix(kHighlight, body, 1, 2), body, y - 1, l.topBorder.height);
    if (y >= l.bottomBorder.top) return Mix(body, kShadow, y - l.bottomBorder.top + 1, l.bottomBorder.height + 1);
    return body;
}

// Shapes in design units, drawn white on black into a mask kSuper times the size; a "cut"
// draws black and takes coverage away again.
class Ink {
public:
    Ink(HDC dc, double pixelsPerUnit, double ox, double oy) : dc_(dc), k_(kSuper * pixelsPerUnit), ox_(ox), oy_(oy) {}
    void Cut(bool on) { SelectObject(dc_, GetStockObject(on ? BLACK_BRUSH : WHITE_BRUSH)); }
    void Rect(double x0, double y0, double x1, double y1, double r = 0) {
        const int d = static_cast<int>(std::lround(2 * r * k_));
        // RoundRect leaves out the right and bottom edges: one more sample in each.
        ::RoundRect(dc_, X(x0), Y(y0), X(x1) + 1, Y(y1) + 1, d, d);
    }
    void Circle(double cx, double cy, double r) { ::Ellipse(dc_, X(cx - r), Y(cy - r), X(cx + r) + 1, Y(cy + r) + 1); }
    void Polygon(std::initializer_list<std::pair<double, double>> pts) { Polygon(std::vector(pts)); }
    void Polygon(const std::vector<std::pair<double, double>>& pts) {
        std::vector<POINT> p;
        for (const auto& [x, y] : pts) p.push_back({X(x), Y(y)});
        ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
    }
    // A stroke of the given width with square ends.
    void Line(double x0, double y0, double x1, double y1, double width) {
        const double len = std::hypot(x1 - x0, y1 - y0);
        if (len <= 0) return;
        const double nx = (y0 - y1) / len * width / 2, ny = (x1 - x0) / len * width / 2;
        Polygon({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}});
    }

private:
    int X(double v) const { return static_cast<int>(std::lround((ox_ + v) * k_)); }
    int Y(double v) const { return static_cast<int>(std::lround((oy_ + v) * k_)); }
    HDC dc_;
    double k_, ox_, oy_;
};

BITMAPINFO Info32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return bi;
}

// The 32-bit surface shapes are drawn on, kSuper times the size of the largest picture, one
// for all pictures: a memory DC costs a quarter of a millisecond to make under Wine, against
// microseconds for the drawing itself.
class MaskPad {
public:
    MaskPad(int w, int h) : w_(w * kSuper), h_(h * kSuper) {
        BITMAPINFO bi = Info32(w_, h_);
        bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (bitmap_) dc_.reset(CreateCompatibleDC(nullptr));
        if (dc_) select_.emplace(dc_.get(), bitmap_.get());
    }
    // The DC to draw w x h samples on; null when there is none or it is too small.
    HDC dc(int w, int h) const { return select_ && w <= w_ && h <= h_ ? dc_.get() : nullptr; }
    int stride() const { return w_; }
    const std::uint32_t* bits() const { return static_cast<const std::uint32_t*>(bits_); }
    // The top-left w x h samples made black again (within the pad, as dc(w, h) told).
    void Clear(int w, int h) {
        for (int y = 0; y < h; ++y) std::memset(static_cast<std::uint32_t*>(bits_) + y * w_, 0, w * sizeof(std::uint32_t));
    }

private:
    int w_, h_;
    void* bits_ = nullptr;
    UniqueBitmap bitmap_;
    UniqueDc dc_;
    std::optional<SelectGuard> select_;
};

// 32-bit pixels (0xAARRGGBB, straight alpha, top-down) that shapes are blended into.
class Canvas {
public:
    Canvas(MaskPad& pad, int w, int h) : pad_(pad), w_(w > 0 ? w : 1), h_(h > 0 ? h : 1), px_(static_cast<size_t>(w_) * h_, 0) {}

    void FillRow(int y, COLORREF c) {
        for (int x = 0; x < w_; ++x) px_[static_cast<size_t>(y) * w_ + x] = Opaque(c);
    }
    // Blends in what draw(ink) covers, in the colour of each row from top (at y0) to bottom
    // (at y1) in pixels; one design unit is pixelsPerUnit pixels from the origin (ox, oy).
    template <class Draw>
    void Fill(double pixelsPerUnit, double ox, double oy, COLORREF top, COLORREF bottom, int y0, int y1, Draw draw) {
        const HDC dc = pad_.dc(w_ * kSuper, h_ * kSuper);
        if (!dc) return;
        pad_.Clear(w_ * kSuper, h_ * kSuper);
        {
            SelectGuard pen(dc, GetStockObject(NULL_PEN));
            SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
            Ink ink(dc, pixelsPerUnit, ox, oy);
            draw(ink);
            GdiFlush();
        }
        const std::uint32_t* m = pad_.bits();
        const int stride = pad_.stride();
        for (int y = 0; y < h_; ++y) {
            const COLORREF c = Mix(top, bottom, y - y0, y1 - y0 > 0 ? y1 - y0 : 1);
            for (int x = 0; x < w_; ++x) {
                int cover = 0;
                for (int sy = 0; sy < kSuper; ++sy)
                    for (int sx = 0; sx < kSuper; ++sx) cover += m[(y * kSuper + sy) * stride + x * kSuper + sx] & 0xFF;
                Blend(px_[static_cast<size_t>(y) * w_ + x], c, cover / (kSuper * kSuper));
            }
        }
    }
    template <class Draw>
    void Fill(double pixelsPerUnit, double ox, double oy, COLORREF c, Draw draw) {
        Fill(pixelsPerUnit, ox, oy, c, c, 0, 1, draw);
    }

    UniqueBitmap ToBitmap() const {
        BITMAPINFO bi = Info32(w_, h_);
        void* bits = nullptr;
        UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (bmp) std::memcpy(bits, px_.data(), px_.size() * sizeof px_[0]);
        return bmp;
    }
    BarIcon ToIcon() const {
        UniqueBitmap colour = ToBitmap();
        const std::vector<std::uint8_t> zeros(static_cast<size_t>((w_ + 15) / 16 * 2) * h_, 0);
        UniqueBitmap mask(CreateBitmap(w_, h_, 1, 1, zeros.data()));  // the alpha channel decides
        if (!colour || !mask) return {};
        ICONINFO ii{TRUE, 0, 0, mask.get(), colour.get()};
        return BarIcon(CreateIconIndirect(&ii));
    }

private:
    static std::uint32_t Opaque(COLORREF c) {
        return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    // c with coverage a (0..255) over d.
    static void Blend(std::uint32_t& d, COLORREF c, int a) {
        if (a <= 0) return;
        const int da = static_cast<int>(d >> 24);
        const int outA = a + da * (255 - a) / 255;
        auto ch = [&](int src, int shift) {
            const int dst = static_cast<int>((d >> shift) & 0xFF);
            return static_cast<std::uint32_t>((src * a + dst * da * (255 - a) / 255) / outA) << shift;
        };
        d = (static_cast<std::uint32_t>(outA) << 24) | ch(GetRValue(c), 16) | ch(GetGValue(c), 8) | ch(GetBValue(c), 0);
    }

    MaskPad& pad_;
    int w_, h_;
    std::vector<std::uint32_t> px_;
};

// One face of an image button in a frame w units wide and 16 high, its left edge at x0 pixels.
void DrawStripFace(Canvas& c, double unit, int x0, int frameHeight, double w, bool pressed, StripGlyph glyph) {
    const double ox = x0 / unit, px = 1 / unit;  // one pixel in units
    const auto [top, bottom] = pressed ? std::pair{kFaceDownTop, kFaceDownBottom} : std::pair{kFaceTop, kFaceBottom};
    c.Fill(unit, ox, 0, kFaceRim, [&](Ink& i) { i.Rect(0, 0, w, 16, 3.5); });
    if (!pressed) c.Fill(unit, ox, 0, kFaceShine, [&](Ink& i) { i.Rect(px, px, w - px, 16 - px, 3.5 - px); });
    c.Fill(unit, ox, 0, top, bottom, 0, frameHeight,
           [&](Ink& i) { i.Rect(px, pressed ? px : 2 * px, w - px, 16 - px, 3.5 - px); });
    // The pressed picture sits one pixel lower and to the right.
    const double d = pressed ? px : 0, cx = w / 2 + d, cy = 8 + d;
    if (glyph == StripGlyph::Quit) {
        c.Fill(unit, ox, 0, kGlyphQuit, [&](Ink& i) {
            i.Line(cx - 3.6, cy - 3.6, cx + 3.6, cy + 3.6, 1.9);
            i.Line(cx + 3.6, cy - 3.6, cx - 3.6, cy + 3.6, 1.9);
        });
    } else {
        c.Fill(unit, ox, 0, kGlyphLight, [&](Ink& i) { i.Rect(cx - 4.5, cy + 1.6, cx + 4.5, cy + 3.6, 0.4); });
    }
}

UniqueBitmap MakeImageStrip(MaskPad& pad, StripGlyph glyph, const BarLayout& l) {
    Canvas c(pad, l.stripWidth, l.stripHeight);
    const int frameTop = l.quit.top;
    for (int y = 0; y < l.stripHeight; ++y) c.FillRow(y, RowColour(l, frameTop + y));
    const double unit = l.quit.height / 16.0;
    const double w = l.quit.width / unit;
    DrawStripFace(c, unit, 0, l.quit.height, w, false, glyph);
    DrawStripFace(c, unit, l.pressedOffset, l.quit.height, w, true, glyph);
    return c.ToBitmap();
}

BarIcon MakeToolIcon(MaskPad& pad, ToolGlyph glyph, int size) {
    Canvas c(pad, size, size);
    const double unit = size / 16.0;
    switch (glyph) {
        case ToolGlyph::Snapshot:  // a camera
            c.Fill(unit, 0, 0, kBarInk, [](Ink& i) {
                i.Rect(0.8, 4.2, 15.2, 14.2, 2);
                i.Rect(4.8, 2, 11.2, 6, 1.2);
                i.Cut(true);
                i.Circle(8, 9.2, 3.7);
                i.Rect(11.8, 5.6, 13.6, 6.9);
                i.Cut(false);
                i.Circle(8, 9.2, 2.3);
            });
            break;
        case ToolGlyph::Video:  // a film frame with the play sign
            c.Fill(unit, 0, 0, kBarInk, [](Ink& i) {
                i.Rect(0.8, 2.6, 15.2, 13.4, 1.6);
                i.Cut(true);
                for (double x : {2.3, 5.5, 8.7, 11.9}) {
                    i.Rect(x, 3.5, x + 1.8, 4.9, 0.3);
                    i.Rect(x, 11.1, x + 1.8, 12.5, 0.3);
                }
                i.Polygon({{6.1, 5.7}, {6.1, 10.3}, {10.6, 8}});
            });
            break;
        case ToolGlyph::Settings: {  // a gear wheel
            std::vector<std::pair<double, double>> gear;
            constexpr double kOuter = 7.6, kRoot = 5.5, kPi = std::numbers::pi;
            for (int t = 0; t < 8; ++t) {
                const double a = t * kPi / 4;
                for (const auto& [r, da] : {std::pair{kRoot, -0.27}, {kOuter, -0.16}, {kOuter, 0.16}, {kRoot, 0.27}})
                    gear.emplace_back(8 + r * std::cos(a + da), 8 + r * std::sin(a + da));
            }
            c.Fill(unit, 0, 0, kBarInk, [&](Ink& i) {
                i.Polygon(gear);
                i.Circle(8, 8, kRoot + 0.2);
                i.Cut(true);
                i.Circle(8, 8, 2.4);
            });
            break;
        }
    }
    return c.ToIcon();
}

}  // namespace

BarPictures MakeBarPictures(const BarLayout& l) {
    MaskPad pad(std::max(l.stripWidth, l.iconSize), std::max(l.stripHeight, l.iconSize));
    BarPictures p;
    p.snap = MakeToolIcon(pad, ToolGlyph::Snapshot, l.iconSize);
    p.video = MakeToolIcon(pad, ToolGlyph::Video, l.iconSize);
    p.setting = MakeToolIcon(pad, ToolGlyph::Settings, l.iconSize);
    p.quit = MakeImageStrip(pad, StripGlyph::Quit, l);
    p.hide = MakeImageStrip(pad, StripGlyph::Hide, l);
    return p;
}

void PaintBar(HDC dc, const BarLayout& l) {
    auto fill = [dc](int x, int y, int w, int h, COLORREF c) {
        const RECT r{x, y, x + w, y + h};
        SetDCBrushColor(dc, c);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    };
    for (int y = 0; y < l.height; ++y) fill(0, y, l.width, 1, RowColour(l, y));
    // The edges: light at the left, dark at the right, as a raised frame.
    fill(l.edge[0].left, 0, l.edge[0].width, l.height - 1, kHighlight);
    fill(l.edge[1].left, 0, l.edge[1].width, l.height, kShadow);

    // Etched lines between the groups, as high as the buttons.
    const int line = ScaleForDpi(1, l.dpi), top = l.desk[0].top + line, h = l.desk[0].height - 2 * line;
    for (int x : l.separator) {
        fill(x - line, top, line, h, kEtchDark);
        fill(x, top, line, h, kEtchLight);
    }
    // The grip: two columns of small raised dots.
    const int dot = line, step = 3 * dot;
    const int cols[2] = {l.grip.left + l.grip.width / 2 - step / 2 - dot, l.grip.left + l.grip.width / 2 + step / 2 - dot};
    for (int y = l.desk[0].top + 2 * dot; y + 2 * dot <= l.desk[0].Bottom() - dot; y += step)
        for (int x : cols) {
            fill(x + dot, y + dot, dot, dot, kEtchDark);
            fill(x, y, dot, dot, kEtchLight);
        }
}

}  // namespace orv
