#include "snapshot/image_rows.h"

namespace orv {

std::int32_t BytesPerScanLine(std::int32_t width, std::int16_t bitCount) {
    const std::int64_t w = width;  // 3w + 3 passes 2^31 for the widest 24-bit rows
    std::int64_t bytes = 0;
    switch (bitCount) {
    case 1: bytes = ((w - 1) / 8 + 4) & ~3; break;
    case 4: bytes = ((w - 1) / 2 + 4) & ~3; break;
    case 8: bytes = (w + 3) & ~3; break;
    default: bytes = (3 * w + 3) & ~3;
    }
    return bytes > INT32_MAX ? 0 : static_cast<std::int32_t>(bytes);
}

std::vector<RgbQuad> GreyRamp(std::int16_t bitCount) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8) return {};
    const int n = 1 << bitCount;
    std::vector<RgbQuad> table(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        // i * 255 / (n - 1) rounded: exact for 1, 4 and 8 bits (0/255, steps of 17, i).
        const auto v = static_cast<std::uint8_t>((i * 255 + (n - 1) / 2) / (n - 1));
        table[static_cast<std::size_t>(i)] = {v, v, v, 0};
    }
    return table;
}

PlgPoints MirrorPoints(std::int32_t w, std::int32_t h, bool vertical) {
    if (vertical) return {Point{0, h}, Point{w, h}, Point{0, 0}};
    return {Point{w, 0}, Point{0, 0}, Point{w, h}};
}

std::optional<Rotation> RotationFor(std::int32_t degrees, std::int32_t w, std::int32_t h) {
    switch ((degrees % 360 + 360) % 360) {
    case 90: return Rotation{h, w, {Point{0, w}, Point{0, 0}, Point{h, w}}};
    case 180: return Rotation{w, h, {Point{w, h}, Point{0, h}, Point{w, 0}}};
    case 270: return Rotation{h, w, {Point{h, 0}, Point{h, w}, Point{0, 0}}};
    default: return std::nullopt;
    }
}

Point MapPixel(const PlgPoints& pts, std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y) {
    // The affine map sends the source corner (0,0) to p0, (w,0) to p1 and (0,h) to p2.
    // Work on doubled coordinates so the pixel centre (x + 1/2, y + 1/2) stays integral. Every
    // value is widened before any product: 2wh alone passes 2^31 at 1024 x 1024.
    const std::int64_t W = w, H = h, x0 = pts[0].x, y0 = pts[0].y;
    const std::int64_t cx = 2 * static_cast<std::int64_t>(x) + 1, cy = 2 * static_cast<std::int64_t>(y) + 1;
    const std::int64_t ux = std::int64_t{pts[1].x} - x0, uy = std::int64_t{pts[1].y} - y0;  // per w
    const std::int64_t vx = std::int64_t{pts[2].x} - x0, vy = std::int64_t{pts[2].y} - y0;  // per h
    const std::int64_t dx = 2 * x0 * W * H + cx * ux * H + cy * vx * W;  // over 2wh
    const std::int64_t dy = 2 * y0 * W * H + cx * uy * H + cy * vy * W;
    const std::int64_t den = 2 * W * H;
    // The centre lands on (X + 1/2) of the destination pixel X.
    auto floorDiv = [](std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return {static_cast<std::int32_t>(floorDiv(dx, den)), static_cast<std::int32_t>(floorDiv(dy, den))};
}

namespace {

// Pixel x of a packed row: 1 bit (most significant first), 4 bits (high nibble first),
// 8 bits, or 3 bytes.
std::uint32_t GetPixel(const std::uint8_t* row, std::int32_t x, std::int16_t bitCount) {
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u;
    case 8: return row[x];
    default: {
        const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
        return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    }
    }
}

void PutPixel(std::uint8_t* row, std::int32_t x, std::int16_t bitCount, std::uint32_t v) {
    switch (bitCount) {
    case 1: {
        const std::uint8_t mask = static_cast<std::uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>(v ? row[x >> 3] | mask : row[x >> 3] & ~mask);
        break;
    }
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(15 << shift)) | ((v & 15u) << shift));
        break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(v); break;
    default: {
        std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
    }
    }
}

}  // namespace

void MovePixels(const std::uint8_t* src, std::int32_t w, std::int32_t h, std::int16_t bitCount, const PlgPoints& pts,
                std::uint8_t* dst, std::int32_t dw, std::int32_t dh) {
    if (!src || !dst || w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return;
    const std::ptrdiff_t srcStride = BytesPerScanLine(w, bitCount), dstStride = BytesPerScanLine(dw, bitCount);
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint8_t* row = src + (h - 1 - y) * srcStride;
        for (std::int32_t x = 0; x < w; ++x) {
            const Point to = MapPixel(pts, w, h, x, y);
            if (to.x < 0 || to.y < 0 || to.x >= dw || to.y >= dh) continue;
            PutPixel(dst + (dh - 1 - to.y) * dstStride, to.x, bitCount, GetPixel(row, x, bitCount));
        }
    }
}

BgrPicture::BgrPicture(std::int32_t width, std::int32_t height)
    : width_(width), height_(height), stride_(BytesPerScanLine(width, 24)),
      bits_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height)) {}

}  // namespace orv
