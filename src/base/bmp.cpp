#include "base/bmp.h"

#include <cstring>

namespace orv {

namespace {
void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}
}  // namespace

std::vector<std::uint8_t> EncodeBmp24(std::uint32_t width, std::uint32_t height, const std::uint8_t* topDownBgr,
                                      std::uint32_t stride) {
    constexpr std::uint32_t kHeaders = 14 + 40;
    if (width == 0 || height == 0 || width > kBmpMaxSide || height > kBmpMaxSide || stride < width * 3u) return {};
    const std::uint32_t rowBytes = Bmp24Stride(width);
    const std::uint32_t imageBytes = rowBytes * height;
    std::vector<std::uint8_t> out(kHeaders + imageBytes, 0);
    std::uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<std::uint32_t>(out.size()));
    Put32(p + 10, kHeaders);
    Put32(p + 14, 40);
    Put32(p + 18, width);
    Put32(p + 22, height);  // positive: bottom-up
    Put16(p + 26, 1);
    Put16(p + 28, 24);
    Put32(p + 34, imageBytes);
    Put32(p + 38, 2835);  // 72 dpi
    Put32(p + 42, 2835);
    for (std::uint32_t y = 0; y < height; ++y)
        std::memcpy(p + kHeaders + (height - 1 - y) * rowBytes, topDownBgr + static_cast<std::size_t>(y) * stride,
                    width * 3u);
    return out;
}

}  // namespace orv
