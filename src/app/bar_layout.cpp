#include "app/bar_layout.h"

#include <cstdint>

namespace orv {

namespace {
// The design, in 96-DPI units.
constexpr int kHeight = 32;
constexpr int kBorder = 3;         // top and bottom border strips
constexpr int kEdge = 1;           // the edge lines
constexpr int kGripWidth = 12;     // from the left edge to the first button
constexpr int kButtonWidth = 26;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 3;
constexpr int kGroupGap = 13;      // between groups, a separator line in the middle
constexpr int kFrameWidth = 18;    // the image buttons' frames
constexpr int kFrameHeight = 16;  // as high as the strips
constexpr int kFrameGap = 3;
constexpr int kEndPadding = 9;     // after the quit image
constexpr int kIcon = 16;
constexpr int kCaption = 13;
constexpr int kStripWidth = 64, kStripHeight = 16, kPressedOffset = 33;
}  // namespace

int ScaleForDpi(int v, int dpi) {
    if (dpi <= 0) dpi = 96;
    const std::int64_t n = static_cast<std::int64_t>(v) * dpi;
    return static_cast<int>(n >= 0 ? (n + 48) / 96 : -((-n + 48) / 96));
}

BarLayout LayOutBar(int dpi) {
    if (dpi <= 0) dpi = 96;
    const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
    BarLayout l;
    l.dpi = dpi;
    l.height = s(kHeight);
    const int bw = s(kButtonWidth), bh = s(kButtonHeight), gap = s(kButtonGap), groupGap = s(kGroupGap);
    const int buttonTop = (l.height - bh) / 2;
    const int edge = s(kEdge) > 0 ? s(kEdge) : 1;

    int x = s(kGripWidth);
    l.grip = {edge, 0, x - edge, l.height};
    for (BarBox& b : l.desk) {
        b = {x, buttonTop, bw, bh};
        x += bw + gap;
    }
    x += groupGap - gap;
    l.separator[0] = x - (groupGap + 1) / 2;
    for (BarBox* b : {&l.snap, &l.video, &l.setting}) {
        *b = {x, buttonTop, bw, bh};
        x += bw + gap;
    }
    x += groupGap - gap;
    l.separator[1] = x - (groupGap + 1) / 2;
    const int fw = s(kFrameWidth), fh = s(kFrameHeight);
    const int frameTop = (l.height - fh) / 2;
    l.hide = {x, frameTop, fw, fh};
    x += fw + s(kFrameGap);
    l.quit = {x, frameTop, fw, fh};
    l.width = x + fw + s(kEndPadding);

    const int border = s(kBorder);
    l.topBorder = {0, 0, l.width, border};
    l.bottomBorder = {0, l.height - border, l.width, border};
    l.container = {0, border, l.width, l.height - 2 * border};
    l.edge[0] = {0, 0, edge, l.height};
    l.edge[1] = {l.width - edge, 0, edge, l.height};
    l.iconSize = s(kIcon);
    l.captionHeight = s(kCaption);
    l.stripWidth = s(kStripWidth);
    l.stripHeight = s(kStripHeight);
    l.pressedOffset = s(kPressedOffset);
    return l;
}

}  // namespace orv
