// Windows bitmap files: 24 bits per pixel, rows bottom-up, each padded to 4 bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace orv {

// The largest width and height a bitmap file made here may have.
inline constexpr std::uint32_t kBmpMaxSide = 0x7FFF;

// Bytes per row of a 24-bit bitmap.
inline std::uint32_t Bmp24Stride(std::uint32_t width) { return (width * 3u + 3u) & ~3u; }

// The whole file for a picture given as top-down rows of B, G, R bytes with the given
// stride. Empty when the size is zero or too large for a bitmap file.
std::vector<std::uint8_t> EncodeBmp24(std::uint32_t width, std::uint32_t height, const std::uint8_t* topDownBgr,
                                      std::uint32_t stride);

}  // namespace orv
