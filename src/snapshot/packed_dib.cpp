#include "snapshot/packed_dib.h"

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

// Room for the file header before the packed DIB, so a bitmap file needs no second copy.
std::vector<std::uint8_t> Pack(const BgrView& picture, std::uint32_t before) {
    if (!picture.bits || picture.width <= 0 || picture.height <= 0) return {};
    const std::int32_t rowBytes = BytesPerScanLine(picture.width, 24);
    const std::uint64_t imageBytes = static_cast<std::uint64_t>(rowBytes) * static_cast<std::uint64_t>(picture.height);
    if (rowBytes == 0 || before + kDibHeaderBytes + imageBytes > UINT32_MAX) return {};
    const std::uint32_t imageSize = static_cast<std::uint32_t>(imageBytes);
    std::vector<std::uint8_t> out(before + kDibHeaderBytes + imageSize, 0);
    std::uint8_t* h = out.data() + before;
    Put32(h, kDibHeaderBytes);
    Put32(h + 4, static_cast<std::uint32_t>(picture.width));
    Put32(h + 8, static_cast<std::uint32_t>(picture.height));  // positive: bottom-up
    Put16(h + 12, 1);                                         // planes
    Put16(h + 14, 24);                                        // bits per pixel; 0 = BI_RGB
    Put32(h + 20, imageSize);
    Put32(h + 24, 2835);  // 72 dpi in pixels per metre
    Put32(h + 28, 2835);
    std::uint8_t* rows = h + kDibHeaderBytes;
    const std::size_t pixelBytes = 3 * static_cast<std::size_t>(picture.width);
    for (std::int32_t y = 0; y < picture.height; ++y)
        std::memcpy(rows + static_cast<std::size_t>(picture.height - 1 - y) * static_cast<std::size_t>(rowBytes), picture.Row(y),
                    pixelBytes);
    return out;
}

}  // namespace

std::vector<std::uint8_t> PackedDib24(const BgrView& picture) { return Pack(picture, 0); }

std::vector<std::uint8_t> BmpFile24(const BgrView& picture) {
    std::vector<std::uint8_t> out = Pack(picture, kBmpFileHeaderBytes);
    if (out.empty()) return out;
    out[0] = 'B';
    out[1] = 'M';
    Put32(out.data() + 2, static_cast<std::uint32_t>(out.size()));
    Put32(out.data() + 10, kBmpFileHeaderBytes + kDibHeaderBytes);
    return out;
}

}  // namespace orv
