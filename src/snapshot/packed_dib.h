// The picture as the clipboard and bitmap files want it: a packed DIB. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "snapshot/image_rows.h"

namespace orv {

// Bytes of the BITMAPINFOHEADER that opens a packed DIB, and of the file header before it.
inline constexpr std::uint32_t kDibHeaderBytes = 40;
inline constexpr std::uint32_t kBmpFileHeaderBytes = 14;

// A BITMAPINFOHEADER (24 bits, uncompressed, 72 dpi, the height positive so rows lie
// bottom-up) followed by the picture's rows, bottom row first, each padded with zeros to a
// multiple of 4 bytes: what CF_DIB holds. Empty for an empty picture or one whose bytes do not
// fit the header's 32-bit sizes.
std::vector<std::uint8_t> PackedDib24(const BgrView& picture);

// A bitmap file: its 14-byte header ("BM", file size, offset of the rows) and the packed DIB.
std::vector<std::uint8_t> BmpFile24(const BgrView& picture);

// A view of rows stored top row first, `stride` bytes apart (a negative stride walks a
// bottom-up view from its top row).
inline BgrView TopDownView(const std::uint8_t* top, std::int32_t width, std::int32_t height, std::ptrdiff_t stride) {
    return {top + (height - 1) * stride, width, height, -stride};
}

}  // namespace orv
