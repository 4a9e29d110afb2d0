#include "snapshot/snap_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/text.h"

namespace orv {
namespace {

constexpr unsigned kVkF1 = 0x70;
constexpr int kKeyScroll[] = {100, 75, 50, 25, 1};  // F1 .. F5
constexpr int kBeyondScreen = 100;

int ClampedScroll(int v) { return std::clamp(v, kZoomScrollMin, kZoomScrollMax); }

// 100 / value in hundredths, halves up, exactly.
long long ZoomHundredths(int scrollValue) {
    const long long v = ClampedScroll(scrollValue);
    return (20000 + v) / (2 * v);
}

}  // namespace

std::string ZoomLabel(int scrollValue) {
    const long long h = ZoomHundredths(scrollValue);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", h / 100, h % 100);
    return text;
}

int CrosshairThickness(int scrollValue) { return RoundHalfEven(static_cast<double>(ZoomHundredths(scrollValue)) / 100.0); }

int ZoomScrollForKey(unsigned virtualKey, bool shift, bool alt) {
    if (shift || alt || virtualKey < kVkF1 || virtualKey >= kVkF1 + std::size(kKeyScroll)) return 0;
    return kKeyScroll[virtualKey - kVkF1];
}

std::string PointerLabel(std::int32_t x, std::int32_t y) {
    const std::string xs = std::to_string(x);
    return "X= " + xs + std::string(xs.size() < 6 ? 6 - xs.size() : 0, ' ') + ":Y= " + std::to_string(y);
}

ZoomLayout LayOutZoom(const ZoomParts& p) {
    auto size = [](int v) { return std::max(v, 0); };
    ZoomLayout l{};
    l.scrollLeft = p.width - p.scrollWidth;
    l.scrollHeight = size(p.height - p.label1Height);
    l.pictureWidth = size(p.width - p.scrollWidth);
    l.pictureHeight = size(p.height - p.label1Height);
    l.label1Top = p.height - p.label1Height;
    l.label2Left = p.width - p.label2Width;
    l.label2Top = p.height - p.label2Height;
    l.hLineRight = p.width + 15;
    l.hLineY = p.height / 2 + p.thickness - 8;
    l.vLineX = p.width / 2;
    l.vLineBottom = p.height;
    l.markerLeft = l.vLineX - p.markerWidth / 2;
    l.markerTop = l.hLineY - p.markerHeight / 2;
    return l;
}

ZoomSource ZoomSourceFor(const ZoomParts& p, int scrollValue) {
    // The factor is a single-precision number; the products are taken in double precision.
    const double zoom = static_cast<float>(ClampedScroll(scrollValue)) / 100.0f;
    ZoomSource s{};
    s.dstWidth = std::max(p.width - p.scrollWidth, 0);
    s.dstHeight = std::max(p.height - p.label1Height, 0);
    s.srcWidth = RoundHalfEven(s.dstWidth * zoom);
    s.srcHeight = RoundHalfEven(s.dstHeight * zoom);
    s.halfWidth = s.srcWidth / 2 + 1;
    s.halfHeight = s.srcHeight / 2 - 1;
    return s;
}

std::int32_t FollowPointer(std::int32_t centre, std::int32_t pointer, int half, int screenStart, int screenEnd) {
    const long long p = pointer;
    if (p + half >= static_cast<long long>(screenEnd) + kBeyondScreen ||
        p - half < static_cast<long long>(screenStart) - kBeyondScreen)
        return centre;
    return pointer;
}

std::optional<SnapRect> CaptureRect(float x1, float x2, float y1, float y2) {
    const double rx = static_cast<double>(x2) + 1, ry = static_cast<double>(y2) + 1;
    const std::int32_t left = RoundHalfEven(std::min<double>(x1, rx)), right = RoundHalfEven(std::max<double>(x1, rx));
    const std::int32_t top = RoundHalfEven(std::min<double>(y1, ry)), bottom = RoundHalfEven(std::max<double>(y1, ry));
    const long long width = static_cast<long long>(right) - left, height = static_cast<long long>(bottom) - top;
    if (width < 1 || height < 1 || width > std::numeric_limits<std::int32_t>::max() ||
        height > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return SnapRect{left, top, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

std::optional<std::int32_t> NextSnapCount(std::int32_t count) {
    if (count == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return count + 1;
}

std::string SnapFileName(std::string_view folder, std::string_view prefix, std::int32_t count, std::int32_t format) {
    char number[16];
    std::snprintf(number, sizeof number, count < 0 ? "-%04lld" : "%04lld", std::llabs(static_cast<long long>(count)));
    return std::string(folder) + "\\" + std::string(prefix) + number + (format == 1 ? ".JPG" : ".BMP");
}

SnapPause::SnapPause(double now) : start(now), until(RoundHalfEven(now + 0.25)) {}

}  // namespace orv
