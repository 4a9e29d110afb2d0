// The snapshot's arithmetic, apart from any window: the zoom window's layout, labels, keys,
// sizes and the rule by which its view follows the pointer; the rectangle a drag selects;
// the numbered file names; the short pause before the screen is frozen. Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// --- The zoom window (fMagnify). Sizes in pixels of the window's client area.

inline constexpr int kZoomScrollMin = 1, kZoomScrollMax = 100, kZoomScrollStart = 20;

// The zoom factor as the window shows it: 100 / value with two decimals, halves up
// ("5.00", "1.33", "3.13", "100.00").
std::string ZoomLabel(int scrollValue);
// The crosshair as wide as one enlarged screen pixel: the label's number, rounded (halves
// to even: "2.50" gives 2).
int CrosshairThickness(int scrollValue);
// The scroll value a key sets (F1..F5), or 0: other keys, or Shift or Alt held.
int ZoomScrollForKey(unsigned virtualKey, bool shift, bool alt);
// "X= 512   :Y= 384": the x value padded with blanks to six characters.
std::string PointerLabel(std::int32_t x, std::int32_t y);

struct ZoomParts {
    int width = 0, height = 0;  // the client area
    int scrollWidth = 0;        // VScroll1
    int label1Height = 0;       // Label1: the pointer position along the bottom
    int label2Width = 0, label2Height = 0;  // Label2: the factor in the bottom-right corner
    int thickness = 1;          // the crosshair's
    int markerWidth = 0, markerHeight = 0;  // Shape2
};
struct ZoomLayout {
    int scrollLeft, scrollHeight;          // VScroll1 (top 0)
    int pictureWidth, pictureHeight;       // Picture1 at 0, 0
    int label1Top, label2Left, label2Top;
    int hLineRight, hLineY;                // Line1, from x 0
    int vLineX, vLineBottom;               // Line2, from y 0
    int markerLeft, markerTop;
};
// Too small a window gives sizes of 0, never negative ones.
ZoomLayout LayOutZoom(const ZoomParts& p);

// The screen area the view shows (src, centred with the half sizes) and the picture it
// fills (dst), at scroll value `scrollValue` (value / 100 screen pixels per picture pixel).
struct ZoomSource {
    int srcWidth, srcHeight, dstWidth, dstHeight;
    int halfWidth, halfHeight;  // srcWidth / 2 + 1, srcHeight / 2 - 1
};
ZoomSource ZoomSourceFor(const ZoomParts& p, int scrollValue);
// One coordinate of the view's centre: the pointer's, unless the area would then reach 100
// pixels or more beyond the screen (screenStart .. screenEnd, the end excluded: 0 .. width
// on one monitor, the virtual screen's span on several); then the centre stays where it was.
std::int32_t FollowPointer(std::int32_t centre, std::int32_t pointer, int half, int screenStart, int screenEnd);

// --- Selecting and saving.

// The rectangle between the press corner (x1, y1) and the release corner (x2, y2), the
// release pixel included; nothing when it is empty.
struct SnapRect {
    std::int32_t left, top, width, height;
    friend bool operator==(const SnapRect&, const SnapRect&) = default;
};
std::optional<SnapRect> CaptureRect(float x1, float x2, float y1, float y2);

// The next snapshot number; nothing when the counter cannot grow (the save is skipped
// rather than a file overwritten).
std::optional<std::int32_t> NextSnapCount(std::int32_t count);
// folder\prefix0001.JPG (format 1) or .BMP (any other format); at least four digits.
std::string SnapFileName(std::string_view folder, std::string_view prefix, std::int32_t count, std::int32_t format);

// The pause before the screen is frozen, on the seconds-since-midnight clock: until the
// clock reaches the start plus a quarter second rounded to a whole second, or wraps at
// midnight.
struct SnapPause {
    double start, until;
    explicit SnapPause(double now);
    bool Over(double now) const { return now >= until || now < start; }
};

}  // namespace orv
