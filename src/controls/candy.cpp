#include "controls/candy.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/text.h"

namespace orv::candy {
namespace {

int Channel(Color c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Whole pixels from a fraction, as the rest of the program rounds.
int Whole(double v) { return RoundHalfEven(v); }

// Each row's pixels inside the shape, [x0, x1); empty for a row the shape misses.
std::vector<std::pair<int, int>> RowsOf(const std::vector<Span>& spans, int h) {
    std::vector<std::pair<int, int>> rows(static_cast<size_t>(std::max(h, 0)), {0, 0});
    for (const Span& s : spans)
        if (s.y >= 0 && s.y < h) rows[static_cast<size_t>(s.y)] = {s.x0, s.x1};
    return rows;
}

// Inside the rounded rectangle (l, t)-(r, b) (r, b excluded) with corner radius rad, judged
// at the pixel's centre.
bool InRoundRect(int x, int y, int l, int t, int r, int b, int rad) {
    if (x < l || x >= r || y < t || y >= b) return false;
    if (rad <= 0) return true;
    const double px = x + 0.5, py = y + 0.5;
    const double cx = px < l + rad ? l + rad : (px > r - rad ? r - rad : px);
    const double cy = py < t + rad ? t + rad : (py > b - rad ? b - rad : py);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= static_cast<double>(rad) * rad;
}

// Painter C: glow ellipses around a centre, a gloss band fading down from near white, and
// the points outside the window shape in the border colour.
struct GlossParams {
    int glowCx, glowCy, glowPercent;         // glow centre and half-axes in % of w, h
    int bandL, bandT, bandR, bandB, bandRad;  // the gloss band
    int fade;                                 // white-to-base % at the band's row r
};

GlossParams GlossFor(int style, int w, int h, int r) {
    switch (style) {
    case 7: return {w / 2, h / 2, 60, r / 2, 2, w - r, r + 1, r / 2, 50};
    case 3: return {w / 2, h / 2, 60, r / 2, 2, w - r, std::min(r + 1, h / 2), r / 2, 40};
    case 4: return {w / 2, h / 2, 50, r / 2, 1, w - r / 2, h / 2, r / 2, 55};
    case 5: return {w / 2, h, 80, r / 2, 1, w - r / 2, h / 2, r / 2, 60};
    default: return {w / 2, h * 7 / 10, 70, r / 2, 1, w - r / 2, h / 2, r / 2, 60};  // 2
    }
}

void PainterC(const FaceInput& in, Color base, Color bright, Color border, std::vector<Prim>& out) {
    const int w = in.w, h = in.h, r = CornerRadius(in.style, w, h);
    const GlossParams p = GlossFor(in.style, w, h, r);
    out.push_back({Prim::Kind::Fill, 0, 0, w, h, base});

    const int rx = Whole(w * p.glowPercent / 100.0), ry = Whole(h * p.glowPercent / 100.0);
    if (rx > 0 && ry > 0) {
        const int sx = rx > ry ? Whole(static_cast<double>(rx) / ry) : 1;
        const int sy = rx > ry ? 1 : Whole(static_cast<double>(ry) / rx);
        int l = p.glowCx - rx, t = p.glowCy - ry, rr = p.glowCx + rx, b = p.glowCy + ry;
        for (int i = 1; l < rr && t < b; ++i, l += sx, rr -= sx, t += sy, b -= sy) {
            const Color c = i == 1 ? base : BlendColors(base, bright, Whole(100.0 * i / ry));
            out.push_back({Prim::Kind::Ellipse, l, t, rr, b, c});
        }
    }

    const auto rows = RowsOf(ShapeSpans(w, h, r), h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x <= w / 2; ++x) {
            const bool inside = x >= rows[static_cast<size_t>(y)].first && x < rows[static_cast<size_t>(y)].second;
            if (inside && InRoundRect(x, y, p.bandL, p.bandT, p.bandR, p.bandB, p.bandRad)) {
                const int percent = r > 0 ? Whole(p.fade * static_cast<double>(y) / r) : p.fade;
                out.push_back({Prim::Kind::Line, x, y, w - x + 1, y, BlendColors(kWhite, base, percent)});
                break;
            }
            if (!inside) {
                out.push_back({Prim::Kind::Pixel, x, y, x, y, border});
                out.push_back({Prim::Kind::Pixel, w - x, y, w - x, y, border});
            }
        }
    }
}

// The faces of the other styles, made from the same colours.
Color EdgeColor(Color base, int borderBrightness) {
    return borderBrightness == 0 ? BlendColors(base, kBlack, 30) : BorderColor(base, borderBrightness);
}

void Frame(int w, int h, Color top, Color bottom, std::vector<Prim>& out) {
    out.push_back({Prim::Kind::Line, 0, 0, w, 0, top});
    out.push_back({Prim::Kind::Fill, 0, 0, 1, h, top});
    out.push_back({Prim::Kind::Line, 0, h - 1, w, h - 1, bottom});
    out.push_back({Prim::Kind::Fill, w - 1, 0, w, h, bottom});
}

// A: a glossy rectangle: a light upper half over the base, the bright colour rising from
// the bottom, framed by the edge.
void PainterA(const FaceInput& in, Color base, Color bright, std::vector<Prim>& out) {
    const int half = std::max(1, in.h / 2);
    for (int y = 0; y < in.h; ++y) {
        const Color c = y < half ? BlendColors(base, kWhite, 55 - 30 * y / half)
                                 : BlendColors(base, bright, 40 * (y - half) / std::max(1, in.h - half));
        out.push_back({Prim::Kind::Line, 0, y, in.w, y, c});
    }
    const Color edge = EdgeColor(base, in.borderBrightness);
    Frame(in.w, in.h, edge, edge, out);
}

// B: flat base with a raised bevel (light top and left, dark bottom and right).
void PainterB(const FaceInput& in, Color base, std::vector<Prim>& out) {
    out.push_back({Prim::Kind::Fill, 0, 0, in.w, in.h, base});
    const bool sunk = in.look == Look::Pressed || in.look == Look::Latched;
    const Color light = BlendColors(base, kWhite, 55), dark = EdgeColor(base, in.borderBrightness);
    Frame(in.w, in.h, sunk ? dark : light, sunk ? light : dark, out);
}

// D: glass: a light upper half fading into the base, a bright glow rising from the bottom.
void PainterD(const FaceInput& in, Color base, Color bright, std::vector<Prim>& out) {
    const int half = std::max(1, in.h / 2);
    const std::vector<Span> shape = ShapeSpans(in.w, in.h, CornerRadius(in.style, in.w, in.h));
    const Color edge = EdgeColor(base, in.borderBrightness);
    out.push_back({Prim::Kind::Fill, 0, 0, in.w, in.h, edge});
    for (const Span& s : shape) {
        const Color c = s.y < half ? BlendColors(BlendColors(base, kWhite, 65), base, 100 * s.y / half)
                                   : BlendColors(base, bright, 45 * (s.y - half) / std::max(1, in.h - half));
        out.push_back({Prim::Kind::Line, s.x0, s.y, s.x1, s.y, c});
    }
}

// E: flat, a bright line along the top and the edge along the bottom.
void PainterE(const FaceInput& in, Color base, Color bright, std::vector<Prim>& out) {
    out.push_back({Prim::Kind::Fill, 0, 0, in.w, in.h, base});
    out.push_back({Prim::Kind::Line, 0, 0, in.w, 0, bright});
    out.push_back({Prim::Kind::Line, 0, in.h - 1, in.w, in.h - 1, EdgeColor(base, in.borderBrightness)});
}

}  // namespace

Color BlendColors(Color c1, Color c2, int percentage) {
    const int p = std::clamp(percentage, 0, 100);
    Color out = 0;
    for (int shift : {0, 8, 16}) {
        const int a = Channel(c1, shift), b = Channel(c2, shift);
        out |= static_cast<Color>(a + (b - a) * p / 100) << shift;
    }
    return out;
}

std::optional<SchemeColors> Scheme(int scheme) {
    static constexpr SchemeColors kSchemes[] = {
        {0xD06720, 0xE99950, 0xA06710, 0xFFEDB0}, {0xD09060, 0xE06000, 0xA98050, 0xFFFAFA},
        {0x800000, 0xA00000, 0xF00000, 0xFF0000}, {0x000080, 0x0000A0, 0x0000F0, 0x0000FF},
        {0x008000, 0x00A000, 0x00C000, 0x00FF00}, {0x008080, 0x00A0A0, 0x00C0C0, 0x00FFFF},
    };
    if (scheme < 1 || scheme > 6) return std::nullopt;
    return kSchemes[scheme - 1];
}

void Properties::SetColorScheme(int scheme) {
    if (const auto s = Scheme(scheme)) {
        SetColorButtonUp(s->up);
        SetColorButtonHover(s->hover);
        SetColorButtonDown(s->down);
        SetColorBright(s->bright);
    }
    scheme_ = scheme;
}

void Properties::SetBorderBrightness(int value) { borderBrightness_ = std::clamp(value, -100, 100); }
void Properties::SetColorBright(Color c) { bright_ = c, scheme_ = 0; }
void Properties::SetColorButtonUp(Color c) { up_ = c, scheme_ = 0; }
void Properties::SetColorButtonHover(Color c) { hover_ = c, scheme_ = 0; }
void Properties::SetColorButtonDown(Color c) { down_ = c, scheme_ = 0; }

bool Properties::SetStyle(int style) {
    if (style < 0 || style > 8 || style == style_) return false;
    style_ = style;
    return true;
}

bool Properties::SetPictureAlignment(int alignment) {
    if (alignment < 0 || alignment > 3 || alignment == alignment_) return false;
    alignment_ = alignment;
    return true;
}

int CornerRadius(int style, int w, int h) {
    int r = 0, most = 0;
    switch (style) {
    case 2: case 4: case 5: r = h / 2 + 1, most = w / 2; break;
    case 3: return 12;
    case 6: r = h / 3 + 1, most = w / 3; break;
    case 7: r = h / 4 + 1, most = w / 4; break;
    default: return 0;
    }
    r = std::max(r, 1);
    return std::max(0, std::min(r, most));
}

std::vector<Span> ShapeSpans(int w, int h, int r) {
    std::vector<Span> spans;
    for (int y = 0; y < h; ++y) {
        // The row's distance from the nearer edge decides whether it passes a corner.
        const int row = std::min(y, h - 1 - y);
        int left = 0;
        if (r > 0 && row < r) {
            left = -1;
            for (int px = 0; px <= r && left < 0; ++px) {
                const int x = r - px;
                if (std::abs(row - r) < static_cast<int>(std::floor(std::sqrt(static_cast<double>(r * r - x * x)))))
                    left = px;
            }
            if (left < 0) continue;  // the row misses the corner circle
        }
        if (left < w - left) spans.push_back({y, left, w - left});
    }
    return spans;
}

Color BaseColor(const FaceInput& in) {
    if (!in.enabled) return kDisabledBase;
    switch (in.look) {
    case Look::Hover: return in.colors.hover;
    case Look::Pressed:
    case Look::Latched: return in.colors.down;
    default: return in.colors.up;
    }
}

Color BorderColor(Color base, int borderBrightness) {
    return borderBrightness < 0 ? BlendColors(base, kBlack, -borderBrightness)
                                : BlendColors(base, kWhite, borderBrightness);
}

std::vector<Prim> PaintFace(const FaceInput& in) {
    std::vector<Prim> out;
    if (in.w <= 0 || in.h <= 0) return out;
    const Color base = BaseColor(in);
    const Color bright = in.enabled ? in.colors.bright : kWhite;
    switch (in.style) {
    case 0: PainterA(in, base, bright, out); break;
    case 1: PainterB(in, base, out); break;
    case 6: PainterD(in, base, bright, out); break;
    case 8: PainterE(in, base, bright, out); break;
    default: PainterC(in, base, bright, BorderColor(base, in.borderBrightness), out); break;
    }
    return out;
}

ContentOps LayoutContent(const ContentInput& in) {
    ContentOps op;
    op.caption = in.hasCaption;
    op.picture = in.picture != PictureKind::None;
    const bool hover = in.look == Look::Hover && in.enabled;
    const int gap = op.caption && op.picture ? std::max(2, in.textH / 4) : 0;
    const int inset = in.r > 0 ? in.r : in.flatInset;
    op.textX = in.w / 2 - in.textW / 2;
    op.textY = in.h / 2 - in.textH / 2;
    op.picY = (in.h - in.picH) / 2;
    switch (in.alignment) {
    case 1: {  // picture above the caption, both centred
        const int total = in.picH + gap + (op.caption ? in.textH : 0);
        op.picX = (in.w - in.picW) / 2;
        op.picY = (in.h - total) / 2;
        if (op.picture) op.textY = op.picY + in.picH + gap;
        break;
    }
    case 2: op.picX = inset; break;
    case 3: op.picX = in.w - inset - in.picW; break;
    default: {  // picture left of the caption, the pair centred
        const int total = (op.picture ? in.picW : 0) + gap + (op.caption ? in.textW : 0);
        op.picX = (in.w - total) / 2;
        if (op.picture) op.textX = op.picX + in.picW + gap;
        break;
    }
    }
    if (in.look == Look::Pressed) ++op.textX, ++op.textY, ++op.picX, ++op.picY;
    const unsigned disabled = in.enabled ? 0 : kDssDisabled;
    op.textFlags = kDstPrefixText | disabled;
    op.textColor = hover && in.captionHighLite ? in.captionHighLiteColor : in.foreColor;
    op.picFlags = (in.picture == PictureKind::Icon ? kDstIcon : kDstBitmap) | disabled;
    if (op.picture && hover && in.iconHighLite) {
        op.picFlags |= kDssMono;
        op.monoBrush = true;
        op.monoColor = in.iconHighLiteColor;
    }
    return op;
}

Reaction StateMachine::Redraw(Reaction r, Look look) const {
    r.redraw = checked ? Look::Latched : look;
    return r;
}

Reaction StateMachine::MouseMove(bool leftHeld, bool inside) {
    Reaction r;
    if (!enabled) return r;
    r.events.push_back(Event::MouseMove);
    if (leftHeld && !inside) {
        hover_ = false;
        r = Redraw(r, Look::Normal);
    }
    if (hoverTracking && !leftHeld && !hover_) {
        r.trackLeave = true;
        hover_ = true;
        r.events.push_back(Event::MouseEnter);
        r = Redraw(r, Look::Hover);
    }
    return r;
}

Reaction StateMachine::MouseLeave() {
    Reaction r;
    if (!enabled) return r;
    hover_ = false;
    r.events.push_back(Event::MouseLeave);
    if (!checked) r = Redraw(r, focus_ ? Look::Focused : Look::Normal);
    return r;
}

Reaction StateMachine::ButtonDown() {
    Reaction r;
    if (!enabled) return r;
    focus_ = true;
    r = Redraw(r, Look::Pressed);
    r.events.push_back(Event::MouseDown);
    return r;
}

Reaction StateMachine::ButtonUp() {
    Reaction r;
    if (!enabled) return r;
    if (!checked) r = Redraw(r, hover_ ? Look::Hover : focus_ ? Look::Focused : Look::Normal);
    r.events.push_back(Event::MouseUp);
    return r;
}

Reaction StateMachine::Click() {
    Reaction r;
    if (enabled) r.events.push_back(Event::Click);
    return r;
}

Reaction StateMachine::DblClick() {
    Reaction r;
    if (!enabled) return r;
    r = Redraw(r, Look::Pressed);
    r.events.push_back(Event::DblClick);
    return r;
}

Reaction StateMachine::FocusGained() {
    focus_ = true;
    Reaction r;
    if (enabled && !checked && !hover_) r = Redraw(r, Look::Focused);
    return r;
}

Reaction StateMachine::FocusLost() {
    focus_ = false;
    Reaction r;
    if (enabled && !checked) r = Redraw(r, Look::Normal);
    return r;
}

Reaction StateMachine::EnterUp() {
    Reaction r = ButtonUp();
    if (enabled) r.events.push_back(Event::Click);
    return r;
}

Reaction StateMachine::SetEnabled(bool on) {
    enabled = on;
    if (!on) hover_ = false;
    return Redraw({}, Look::Normal);
}

Reaction StateMachine::Shown() { return Redraw({}, Look::Normal); }

Reaction StateMachine::SetChecked(bool on) {
    checked = on;
    return Redraw({}, hover_ ? Look::Hover : Look::Normal);
}

}  // namespace orv::candy
