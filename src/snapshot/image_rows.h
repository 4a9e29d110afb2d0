// The pure pixel rules of the device-independent image: row layout, the grey colour
// table, and where the whole-image operations send the corners and the pixels. The Win32
// cImage uses these to drive the system's block transfers; the portable picture buffer
// applies them itself. Portable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orv {

// Bytes of one row, padded to a multiple of 4: 1, 4, 8 bits from the packed width; any
// other bit count as 24 bits per pixel. 0 for a row too long for a 32-bit count.
std::int32_t BytesPerScanLine(std::int32_t width, std::int16_t bitCount);

struct RgbQuad {
    std::uint8_t blue, green, red, reserved;
};

// The grey colour table of 2^bitCount entries (1, 4, 8 bits): entry i is
// i * 255 / (n - 1) rounded to a byte. Empty for other bit counts.
std::vector<RgbQuad> GreyRamp(std::int16_t bitCount);

struct Point {
    std::int32_t x, y;
    bool operator==(const Point&) const = default;
};

// The three destination points of a parallelogram block transfer: where the source's
// upper-left, upper-right and lower-left corners go.
using PlgPoints = std::array<Point, 3>;

// Mirror of a W x H picture: vertical turns it upside down, otherwise left to right.
PlgPoints MirrorPoints(std::int32_t w, std::int32_t h, bool vertical);

// The quarter turn for Degrees, taken modulo 360 (90 anticlockwise, 180, 270 clockwise), of
// a W x H picture: the new size and the points; none for any other angle (0 included).
struct Rotation {
    std::int32_t width, height;
    PlgPoints points;
};
std::optional<Rotation> RotationFor(std::int32_t degrees, std::int32_t w, std::int32_t h);

// Where pixel (x, y) of a W x H source lands under a parallelogram transfer whose points
// are one of the above (axis-aligned cases only); pixel centres map to pixel centres.
Point MapPixel(const PlgPoints& pts, std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y);

// Moves every pixel of a w x h DIB-layout picture (1, 4, 8 or 24 bits; bottom-up rows of
// BytesPerScanLine bytes) to where MapPixel sends it under the points, into a dw x dh
// picture of the same bit count (the size the points span). Pixels landing outside are
// dropped; padding bits and bytes of the destination are left as they were.
void MovePixels(const std::uint8_t* src, std::int32_t w, std::int32_t h, std::int16_t bitCount, const PlgPoints& pts,
                std::uint8_t* dst, std::int32_t dw, std::int32_t dh);

// A read-only view of a 24-bit picture laid out as a DIB: rows bottom-up, each
// `stride` bytes (BytesPerScanLine), pixels blue, green, red.
struct BgrView {
    const std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;

    // Row y counted from the top.
    const std::uint8_t* Row(std::int32_t y) const { return bits + (height - 1 - y) * stride; }
};

// An owned 24-bit picture with the DIB row layout.
class BgrPicture {
public:
    BgrPicture() = default;
    BgrPicture(std::int32_t width, std::int32_t height);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::ptrdiff_t Stride() const { return stride_; }
    std::uint8_t* Row(std::int32_t y) { return bits_.data() + (height_ - 1 - y) * stride_; }
    const std::uint8_t* Row(std::int32_t y) const { return bits_.data() + (height_ - 1 - y) * stride_; }
    std::uint8_t* Bits() { return bits_.data(); }
    BgrView View() const { return {bits_.data(), width_, height_, stride_}; }

    void Set(std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        std::uint8_t* p = Row(y) + 3 * x;
        p[0] = b; p[1] = g; p[2] = r;
    }

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::ptrdiff_t stride_ = 0;
    std::vector<std::uint8_t> bits_;
};

}  // namespace orv
