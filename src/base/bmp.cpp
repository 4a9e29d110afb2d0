#include "base/bmp.h"

#include "snapshot/packed_dib.h"

namespace orv {

std::vector<std::uint8_t> EncodeBmp24(std::uint32_t width, std::uint32_t height, const std::uint8_t* topDownBgr,
                                      std::uint32_t stride) {
    if (width == 0 || height == 0 || width > kBmpMaxSide || height > kBmpMaxSide || stride < width * 3u) return {};
    // The rows go through the one packed-DIB conversion the snapshot's clipboard and files use.
    return BmpFile24(TopDownView(topDownBgr, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), stride));
}

}  // namespace orv
