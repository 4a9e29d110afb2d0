// The candy button's rules: schemes, blending, radii, the window shape, painter C's face,
// the content placement and the state machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/candy.h"

namespace orv::candy {
namespace {

// Faults: a wrong or swapped scheme entry, the scheme number lost or kept when a colour is set,
// a scheme outside 1..6 indexing the table, BorderBrightness not clamped.
TEST(Candy, SchemesAndPropertyRules) {
    Properties p;
    EXPECT_EQ(std::tuple(p.ColorScheme(), p.ColorBright(), p.ColorButtonUp(), p.ColorButtonHover(), p.ColorButtonDown()),
              std::tuple(0, 0xFFEDB0u, 0xE99950u, 0xFFC090u, 0xE99950u));
    p.SetColorScheme(2);
    EXPECT_EQ(std::tuple(p.ColorScheme(), p.ColorButtonUp(), p.ColorButtonHover(), p.ColorButtonDown(), p.ColorBright()),
              std::tuple(2, 0xD09060u, 0xE06000u, 0xA98050u, 0xFFFAFAu));
    p.SetColorScheme(7);
    EXPECT_EQ(std::tuple(p.ColorScheme(), p.ColorButtonUp(), p.ColorBright()), std::tuple(7, 0xD09060u, 0xFFFAFAu));
    p.SetColorScheme(6);
    EXPECT_EQ(std::tuple(p.ColorButtonUp(), p.ColorButtonDown(), p.ColorBright()), std::tuple(0x008080u, 0x00C0C0u, 0x00FFFFu));
    for (void (Properties::*set)(Color) : {&Properties::SetColorButtonUp, &Properties::SetColorButtonHover,
                                           &Properties::SetColorButtonDown, &Properties::SetColorBright}) {
        p.SetColorScheme(1);
        (p.*set)(0x123456);
        EXPECT_EQ(p.ColorScheme(), 0);
    }
    for (auto [given, stored] : {std::pair{250, 100}, {-250, -100}, {100, 100}, {-37, -37}}) {
        p.SetBorderBrightness(given);
        EXPECT_EQ(p.BorderBrightness(), stored) << given;
    }
}

// Faults: the percentage not clamped, floor instead of truncation toward zero on a falling
// channel, channels mixed up or carried into each other.
TEST(Candy, BlendColors) {
    struct Case { Color a, b; int p; Color expected; };
    for (const Case& c : {Case{0, 0xFFFFFF, 50, 0x7F7F7F}, {0, 0xFFFFFF, 150, 0xFFFFFF}, {0x102030, 0xFFFFFF, -5, 0x102030},
                          {0xFFFFFF, 0, 50, 0x808080}, {0x0000FF, 0xFF0000, 50, 0x7F0080}, {0xD09060, 0xFFFAFA, 15, 0xD79F77}})
        EXPECT_EQ(BlendColors(c.a, c.b, c.p), c.expected) << std::hex << c.a << " " << c.b << " " << std::dec << c.p;
}

// Faults: rounding instead of truncation, the minimum or the maximum not applied or applied in
// the wrong order, a style taking another style's row.
TEST(Candy, CornerRadii) {
    struct Case { int style, w, h, r; };
    for (const Case& c : {Case{7, 26, 22, 6}, {7, 39, 33, 9}, {7, 100, 0, 1}, {7, 3, 20, 0}, {7, 27, 100, 6},
                          {2, 100, 30, 16}, {4, 20, 30, 10}, {5, 100, 1, 1}, {3, 10, 10, 12}, {6, 90, 30, 11},
                          {6, 20, 30, 6}, {0, 50, 50, 0}, {1, 50, 50, 0}, {8, 50, 50, 0}})
        EXPECT_EQ(CornerRadius(c.style, c.w, c.h), c.r) << c.style << ": " << c.w << "x" << c.h;
}

// Faults: <= for <, the square root not cut to whole pixels, the bottom corners not mirrored.
TEST(Candy, ShapeSpans) {
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

// Faults: the glow not starting in the base colour, a wrong shrink step or colour ramp, gloss
// rows in the wrong colour or place, border pixels inside the shape or without their mirror.
TEST(Candy, PainterCStyle7) {
    FaceInput in{7, Look::Normal, true, *Scheme(2), 40, 26, 22};
    const std::vector<Prim> ps = PaintFace(in);
    ASSERT_FALSE(ps.empty());
    EXPECT_EQ(ps[0], (Prim{Prim::Kind::Fill, 0, 0, 26, 22, 0xD09060}));
    std::vector<Prim> glow;
    std::copy_if(ps.begin(), ps.end(), std::back_inserter(glow), [](const Prim& p) { return p.kind == Prim::Kind::Ellipse; });
    ASSERT_EQ(glow.size(), 13u);
    EXPECT_EQ(glow[0], (Prim{Prim::Kind::Ellipse, -3, -2, 29, 24, 0xD09060}));
    EXPECT_EQ(glow[1], (Prim{Prim::Kind::Ellipse, -2, -1, 28, 23, 0xD79F77}));
    EXPECT_EQ(glow[12], (Prim{Prim::Kind::Ellipse, 9, 10, 17, 12, 0xFFFAFA}));
    EXPECT_EQ(*Find(ps, Prim::Kind::Line, 4, 2), (Prim{Prim::Kind::Line, 4, 2, 23, 2, 0xF8EDE4}));
    EXPECT_EQ(*Find(ps, Prim::Kind::Line, 4, 6), (Prim{Prim::Kind::Line, 4, 6, 23, 6, 0xE8C8B0}));
    EXPECT_EQ(Find(ps, Prim::Kind::Line, 4, 7), nullptr) << "the band ends at row r";
    const Color border = 0xE2BC9F;  // 40 % of the way to white
    for (auto [x, y] : {std::pair{5, 1}, {21, 1}, {0, 4}, {26, 4}, {13, 0}})
        EXPECT_EQ(Find(ps, Prim::Kind::Pixel, x, y) ? Find(ps, Prim::Kind::Pixel, x, y)->color : 0, border) << x << "," << y;
    EXPECT_EQ(Find(ps, Prim::Kind::Pixel, 6, 1), nullptr) << "inside the shape";

    struct LookCase { Look look; bool enabled; int bb; Color base, border; };
    for (const LookCase& c : {LookCase{Look::Focused, true, 0, 0xD09060, 0xD09060}, {Look::Hover, true, 0, 0xE06000, 0xE06000},
                              {Look::Pressed, true, -50, 0xA98050, 0x554028}, {Look::Latched, true, 0, 0xA98050, 0xA98050},
                              {Look::Hover, false, 0, 0xB0C0C0, 0xB0C0C0}}) {
        const std::vector<Prim> face = PaintFace({7, c.look, c.enabled, *Scheme(2), c.bb, 26, 22});
        EXPECT_EQ(face[0].color, c.base) << int(c.look);
        EXPECT_EQ(Find(face, Prim::Kind::Pixel, 0, 0)->color, c.border) << int(c.look);
        if (!c.enabled) {
            EXPECT_EQ(std::find_if(face.rbegin(), face.rend(), [](const Prim& p) { return p.kind == Prim::Kind::Ellipse; })->color,
                      kWhite);
        }
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
        ContentInput in{100, 22, c.r, 8, c.align, c.look, c.enabled, true, 21, 13, c.kind, 16, 16,
                        0x000001, c.hl, 0x00FF00, c.hl, 0x0000FF};
        const ContentOps op = LayoutContent(in);
        EXPECT_EQ(std::tuple(op.textX, op.textY, op.picX, op.picY, op.textFlags, op.picFlags, op.monoBrush),
                  std::tuple(c.tx, c.ty, c.px, c.py, c.tf, c.pf, c.mono)) << c.align << " r" << c.r;
        EXPECT_EQ(op.textColor, c.mono ? 0x00FF00u : 0x000001u);
        if (c.mono) {
            EXPECT_EQ(op.monoColor, 0x0000FFu);
        }
    }
}

// Faults: events in the wrong order, a redraw that ignores Checked, events while disabled, no
// leave tracking on entering, hover kept while dragging outside, Enter without Click.
TEST(Candy, StateMachineSequences) {
    using E = Event;
    enum Trigger { MoveUp, MoveHeldOut, Leave, Down, Up, Dbl, FocusIn, FocusOut, EnterDn, EnterUp, Check };
    struct Step { Trigger t; std::optional<Look> redraw; std::vector<Event> events; };
    struct Seq { const char* name; bool enabled, tracking; std::vector<Step> steps; };
    const std::optional<Look> none;
    const Seq seqs[] = {
        {"hover", true, true, {{MoveUp, Look::Hover, {E::MouseMove, E::MouseEnter}}, {MoveUp, none, {E::MouseMove}},
                               {Leave, Look::Normal, {E::MouseLeave}}}},
        {"press", true, true, {{MoveUp, Look::Hover, {E::MouseMove, E::MouseEnter}}, {Down, Look::Pressed, {E::MouseDown}},
                               {Up, Look::Hover, {E::MouseUp}}, {Leave, Look::Focused, {E::MouseLeave}},
                               {FocusOut, Look::Normal, {}}, {FocusIn, Look::Focused, {}}, {Dbl, Look::Pressed, {E::DblClick}}}},
        {"drag out", true, true, {{Down, Look::Pressed, {E::MouseDown}}, {MoveHeldOut, Look::Normal, {E::MouseMove}},
                                  {Up, Look::Focused, {E::MouseUp}}}},
        {"enter", true, true, {{EnterDn, Look::Pressed, {E::MouseDown}}, {EnterUp, Look::Focused, {E::MouseUp, E::Click}}}},
        {"latched", true, true, {{Check, Look::Latched, {}}, {MoveUp, Look::Latched, {E::MouseMove, E::MouseEnter}},
                                 {Down, Look::Latched, {E::MouseDown}}, {Up, none, {E::MouseUp}}, {Leave, none, {E::MouseLeave}},
                                 {FocusIn, none, {}}, {FocusOut, none, {}}}},
        {"disabled", false, true, {{MoveUp, none, {}}, {Down, none, {}}, {Up, none, {}}, {Leave, none, {}},
                                   {EnterDn, none, {}}, {EnterUp, none, {}}, {FocusIn, none, {}}}},
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
        m.enabled = seq.enabled;
        m.hoverTracking = seq.tracking;
        int i = 0;
        for (const Step& s : seq.steps) {
            const Reaction r = act[s.t](m);
            EXPECT_EQ(r.redraw, s.redraw) << seq.name << " step " << i;
            EXPECT_EQ(r.events, s.events) << seq.name << " step " << i;
            EXPECT_EQ(r.trackLeave, std::count(s.events.begin(), s.events.end(), E::MouseEnter) == 1) << seq.name << i;
            ++i;
        }
    }
}

}  // namespace
}  // namespace orv::candy
