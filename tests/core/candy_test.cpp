// The candy button's rules: schemes, blending, radii, the window shape, painter C's face,
// the content placement and the state machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/candy.h"

namespace orv::candy {
namespace {

// Faults: scheme 2's entries swapped, the scheme number lost or kept when a colour is set, a
// scheme outside 1..6 indexing the table, BorderBrightness not clamped.
TEST(Candy, SchemesAndPropertyRules) {
    Properties p;
    p.SetColorScheme(2);
    p.SetColorScheme(7);
    EXPECT_EQ(std::tuple(p.ColorScheme(), p.ColorButtonUp(), p.ColorButtonHover(), p.ColorButtonDown(), p.ColorBright()),
              std::tuple(7, 0xD09060u, 0xE06000u, 0xA98050u, 0xFFFAFAu));
    for (auto set : {&Properties::SetColorButtonUp, &Properties::SetColorButtonHover, &Properties::SetColorButtonDown,
                     &Properties::SetColorBright}) {
        p.SetColorScheme(1), (p.*set)(0x123456);
        EXPECT_EQ(p.ColorScheme(), 0);
    }
    for (auto [given, stored] : {std::pair{250, 100}, {-250, -100}, {-37, -37}})
        EXPECT_EQ((p.SetBorderBrightness(given), p.BorderBrightness()), stored) << given;
}

// Faults: the percentage not clamped (K1), floor instead of truncation toward zero on a
// falling channel, channels mixed up or carried into each other.
TEST(Candy, BlendColors) {
    struct Case { Color a, b; int p; Color expected; };
    for (const Case& c : {Case{0, 0xFFFFFF, 50, 0x7F7F7F}, {0, 0xFFFFFF, 150, 0xFFFFFF}, {0x102030, 0xFFFFFF, -5, 0x102030},
                          {0xFFFFFF, 0, 50, 0x808080}, {0x0000FF, 0xFF0000, 50, 0x7F0080}})
        EXPECT_EQ(BlendColors(c.a, c.b, c.p), c.expected) << std::hex << c.a << " " << c.b << " " << std::dec << c.p;
}

// Faults: radii rounded instead of truncated, their minimum or maximum not applied or applied
// in the wrong order (K3), a style taking another style's row; the shape's circle test taking
// <= for < (K2), its square root not cut to whole pixels, the bottom corners not mirrored.
TEST(Candy, CornerRadiiAndShapeSpans) {
    struct Case { int style, w, h, r; };
    for (const Case& c : {Case{7, 39, 33, 9}, {7, 100, 0, 1}, {7, 3, 20, 0}, {7, 27, 100, 6}, {2, 100, 30, 16},
                          {4, 20, 30, 10}, {5, 100, 1, 1}, {3, 10, 10, 12}, {6, 90, 30, 11}, {6, 20, 30, 6}, {0, 50, 50, 0}})
        EXPECT_EQ(CornerRadius(c.style, c.w, c.h), c.r) << c.style << ": " << c.w << "x" << c.h;
    EXPECT_EQ(ShapeSpans(8, 6, 2), (std::vector<Span>{{1, 2, 6}, {2, 0, 8}, {3, 0, 8}, {4, 2, 6}}));
    const std::vector<Span> s = ShapeSpans(26, 22, 6);
    ASSERT_EQ(s.size(), 20u);
    EXPECT_EQ(std::vector<Span>(s.begin(), s.begin() + 6), (std::vector<Span>{{1, 6, 20}, {2, 3, 23}, {3, 2, 24}, {4, 1, 25},
                                                                              {5, 1, 25}, {6, 0, 26}}));
    EXPECT_EQ(s.back(), (Span{20, 6, 20}));
    EXPECT_EQ(ShapeSpans(3, 2, 0), (std::vector<Span>{{0, 0, 3}, {1, 0, 3}}));
}

const Prim* Find(const std::vector<Prim>& ps, Prim::Kind kind, int x0, int y0) {
    auto it = std::find_if(ps.begin(), ps.end(), [&](const Prim& p) { return p.kind == kind && p.x0 == x0 && p.y0 == y0; });
    return it == ps.end() ? nullptr : &*it;
}

// Faults: the glow not starting in the base colour or ramping the wrong way, gloss rows faded
// from the base toward white (K5) or in the wrong place, border pixels inside the shape or
// without their mirror, the border not following BorderBrightness, a look's wrong base.
TEST(Candy, PainterCStyle7) {
    const std::vector<Prim> ps = PaintFace({7, Look::Normal, true, *Scheme(2), 40, 26, 22});
    ASSERT_FALSE(ps.empty());
    EXPECT_EQ(ps[0], (Prim{Prim::Kind::Fill, 0, 0, 26, 22, 0xD09060}));
    EXPECT_EQ(*Find(ps, Prim::Kind::Ellipse, -3, -2), (Prim{Prim::Kind::Ellipse, -3, -2, 29, 24, 0xD09060}));
    EXPECT_EQ(*Find(ps, Prim::Kind::Ellipse, -2, -1), (Prim{Prim::Kind::Ellipse, -2, -1, 28, 23, 0xD79F77}));
    EXPECT_EQ(*Find(ps, Prim::Kind::Line, 4, 2), (Prim{Prim::Kind::Line, 4, 2, 23, 2, 0xF8EDE4}));
    EXPECT_EQ(*Find(ps, Prim::Kind::Line, 4, 6), (Prim{Prim::Kind::Line, 4, 6, 23, 6, 0xE8C8B0}));
    EXPECT_EQ(Find(ps, Prim::Kind::Line, 4, 7), nullptr) << "the band ends at row r";
    for (auto [x, y] : {std::pair{5, 1}, {21, 1}, {0, 4}, {26, 4}, {13, 0}})  // 40 % of the way to white
        EXPECT_EQ(Find(ps, Prim::Kind::Pixel, x, y) ? Find(ps, Prim::Kind::Pixel, x, y)->color : 0, 0xE2BC9Fu) << x << "," << y;
    EXPECT_EQ(Find(ps, Prim::Kind::Pixel, 6, 1), nullptr) << "inside the shape";
    for (auto [look, enabled, bb, base, border] : {std::tuple{Look::Pressed, true, -50, 0xA98050u, 0x554028u},
                                                   {Look::Hover, false, 0, 0xB0C0C0u, 0xB0C0C0u}}) {
        const std::vector<Prim> face = PaintFace({7, look, enabled, *Scheme(2), bb, 26, 22});
        EXPECT_EQ(std::pair(face[0].color, Find(face, Prim::Kind::Pixel, 0, 0)->color), std::pair(base, border)) << enabled;
    }
}

// Faults: the caption not centred, the picture's inset ignoring r or its 8-pixel fallback, no
// pressed shift, wrong DrawState flags, a highlight outside the hover look.
TEST(Candy, ContentLayout) {
    struct Case { int align, r; Look look; bool enabled, hl; PictureKind kind; int tx, ty, px, py; unsigned tf, pf; bool mono; };
    for (const Case& c : {Case{2, 6, Look::Normal, true, true, PictureKind::Icon, 40, 5, 6, 3, 0x02, 0x03, false},
                          {2, 0, Look::Pressed, true, false, PictureKind::Bitmap, 41, 6, 9, 4, 0x02, 0x04, false},
                          {3, 6, Look::Hover, true, true, PictureKind::Icon, 40, 5, 78, 3, 0x02, 0x83, true},
                          {3, 6, Look::Hover, false, true, PictureKind::Bitmap, 40, 5, 78, 3, 0x22, 0x24, false}}) {
        const ContentOps op = LayoutContent({100, 22, c.r, 8, c.align, c.look, c.enabled, true, 21, 13, c.kind, 16, 16,
                                             0x000001, c.hl, 0x00FF00, c.hl, 0x0000FF});
        EXPECT_EQ(std::tuple(op.textX, op.textY, op.picX, op.picY, op.textFlags, op.picFlags, op.textColor, op.monoBrush),
                  std::tuple(c.tx, c.ty, c.px, c.py, c.tf, c.pf, c.mono ? 0x00FF00u : 0x000001u, c.mono)) << c.align << c.r;
        if (c.mono) { EXPECT_EQ(op.monoColor, 0x0000FFu); }
    }
}

// Faults: events in the wrong order, a redraw that ignores Checked (K4), events while disabled,
// no leave tracking on entering, hover kept while dragging outside, Enter without Click.
TEST(Candy, StateMachineSequences) {
    using E = Event;
    enum Trigger { MoveUp, MoveHeldOut, Leave, Down, Up, Dbl, FocusIn, FocusOut, EnterDn, EnterUp, Check };
    struct Step { Trigger t; std::optional<Look> redraw; std::vector<Event> events; };
    struct Seq { const char* name; bool enabled, tracking; std::vector<Step> steps; };
    const std::optional<Look> none;
    const Seq seqs[] = {
        {"hover", true, true, {{MoveUp, Look::Hover, {E::MouseMove, E::MouseEnter}}, {Leave, Look::Normal, {E::MouseLeave}}}},
        {"press", true, true, {{MoveUp, Look::Hover, {E::MouseMove, E::MouseEnter}}, {MoveUp, none, {E::MouseMove}},
                               {Down, Look::Pressed, {E::MouseDown}}, {Up, Look::Hover, {E::MouseUp}},
                               {Leave, Look::Focused, {E::MouseLeave}}, {FocusOut, Look::Normal, {}},
                               {FocusIn, Look::Focused, {}}, {Dbl, Look::Pressed, {E::DblClick}}}},
        {"drag out", true, true, {{Down, Look::Pressed, {E::MouseDown}}, {MoveHeldOut, Look::Normal, {E::MouseMove}},
                                  {Up, Look::Focused, {E::MouseUp}}}},
        {"enter", true, true, {{EnterDn, Look::Pressed, {E::MouseDown}}, {EnterUp, Look::Focused, {E::MouseUp, E::Click}}}},
        {"latched", true, true, {{Check, Look::Latched, {}}, {MoveUp, Look::Latched, {E::MouseMove, E::MouseEnter}},
                                 {Down, Look::Latched, {E::MouseDown}}, {Up, none, {E::MouseUp}}, {Leave, none, {E::MouseLeave}}}},
        {"disabled", false, true, {{MoveUp, none, {}}, {Down, none, {}}, {Up, none, {}}, {EnterDn, none, {}}, {FocusIn, none, {}}}},
        {"no tracking", true, false, {{MoveUp, none, {E::MouseMove}}, {FocusIn, Look::Focused, {}}}},
    };
    using M = StateMachine;
    Reaction (*const act[])(M&) = {
        [](M& m) { return m.MouseMove(false, true); }, [](M& m) { return m.MouseMove(true, false); },
        [](M& m) { return m.MouseLeave(); }, [](M& m) { return m.ButtonDown(); }, [](M& m) { return m.ButtonUp(); },
        [](M& m) { return m.DblClick(); }, [](M& m) { return m.FocusGained(); }, [](M& m) { return m.FocusLost(); },
        [](M& m) { return m.EnterDown(); }, [](M& m) { return m.EnterUp(); }, [](M& m) { return m.SetChecked(true); }};
    for (const Seq& seq : seqs) {
        StateMachine m;
        m.enabled = seq.enabled, m.hoverTracking = seq.tracking;
        for (int i = 0; const Step& s : seq.steps) {
            const Reaction r = act[s.t](m);
            EXPECT_EQ(std::tie(r.redraw, r.events), std::tie(s.redraw, s.events)) << seq.name << " step " << i;
            EXPECT_EQ(r.trackLeave, std::count(s.events.begin(), s.events.end(), E::MouseEnter) == 1) << seq.name << i++;
        }
    }
}

}  // namespace
}  // namespace orv::candy
