#include "app/win/bar_images.h"

namespace orv {

namespace {
constexpr COLORREF kBarTop = RGB(0x3A, 0x4C, 0x6E);
constexpr COLORREF kBarBottom = RGB(0x1B, 0x24, 0x36);
constexpr COLORREF kEdge = RGB(0x7F, 0x9C, 0xCF);

constexpr COLORREF kBottomLine = RGB(0x0E, 0x13, 0x1D);

// A solid rectangle in the DC's own brush: no brush is made for it.
void Fill(HDC dc, const RECT& r, COLORREF c) {
    const COLORREF old = SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF c) {
    // A vertex takes 16 bits per channel.
    return {x, y, static_cast<COLOR16>(GetRValue(c) << 8), static_cast<COLOR16>(GetGValue(c) << 8),
            static_cast<COLOR16>(GetBValue(c) << 8), 0};
}

void DrawButtonFace(HDC dc, int x0, bool pressed, StripGlyph glyph) {
    const COLORREF face = pressed ? RGB(0x22, 0x2E, 0x45) : RGB(0x4A, 0x60, 0x8A);
    const COLORREF ink = glyph == StripGlyph::Quit ? RGB(0xFF, 0x9A, 0x8A) : RGB(0xE8, 0xF0, 0xFF);
    RECT r{x0, 0, x0 + kImageFrameWidth, kStripHeight};
    Fill(dc, r, face);
    UniquePen edge(CreatePen(PS_SOLID, 1, pressed ? RGB(0x10, 0x16, 0x22) : kEdge));
    SelectGuard pen(dc, edge.get());
    SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 5, 5);
    const int d = pressed ? 1 : 0;  // the pressed picture sits one pixel lower and right
    const int cx = x0 + kImageFrameWidth / 2 + d, cy = kStripHeight / 2 + d;
    UniquePen stroke(CreatePen(PS_SOLID, 2, ink));
    SelectGuard ps(dc, stroke.get());
    if (glyph == StripGlyph::Quit) {
        MoveToEx(dc, cx - 4, cy - 4, nullptr);
        LineTo(dc, cx + 4, cy + 4);
        MoveToEx(dc, cx + 4, cy - 4, nullptr);
        LineTo(dc, cx - 4, cy + 4);
    } else {
        MoveToEx(dc, cx - 5, cy + 3, nullptr);
        LineTo(dc, cx + 5, cy + 3);
    }
}
}  // namespace

UniqueBitmap MakeImageStrip(StripGlyph glyph) {
    UniqueBitmap strip;
    UniqueDc dc;
    {
        UniqueWindowDc screen = GetWindowDc(nullptr);
        strip.reset(CreateCompatibleBitmap(screen.get().dc, kStripWidth, kStripHeight));
        dc.reset(CreateCompatibleDC(screen.get().dc));
    }
    if (!strip || !dc) return {};
    {
        SelectGuard sel(dc.get(), strip.get());
        RECT all{0, 0, kStripWidth, kStripHeight};
        Fill(dc.get(), all, kBarBottom);
        DrawButtonFace(dc.get(), 0, false, glyph);
        DrawButtonFace(dc.get(), kPressedOffset, true, glyph);
    }
    return strip;
}

void PaintBarBackground(HDC dc, const RECT& rc) {
    // The top colour on the first row, the bottom colour on the last (which the bottom border
    // covers); the rectangle of a gradient ends before its second vertex.
    TRIVERTEX v[2] = {Vertex(rc.left, rc.top, kBarTop), Vertex(rc.right, rc.bottom - 1, kBarBottom)};
    GRADIENT_RECT gr{0, 1};
    GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    RECT top{rc.left, rc.top, rc.right, rc.top + 1};
    Fill(dc, top, kEdge);  // top border
    RECT bottom{rc.left, rc.bottom - 1, rc.right, rc.bottom};
    Fill(dc, bottom, kBottomLine);  // bottom border
    RECT left{rc.left, rc.top, rc.left + 2, rc.bottom};
    Fill(dc, left, kEdge);  // left edge line
    RECT right{rc.right - 2, rc.top, rc.right, rc.bottom};
    Fill(dc, right, kEdge);  // right edge line
}

}  // namespace orv
