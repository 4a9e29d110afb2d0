// A top-down 32-bit DIB section selected into a memory DC of its own: what painting tests
// paint into and read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/win/handles.h"

namespace orv::test {

struct DibSurface {
    int w, h;
    void* bits = nullptr;
    UniqueDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap dib;
    std::optional<SelectGuard> use;
    // Every pixel starts as fill (0x00RRGGBB).
    DibSurface(int w, int h, std::uint32_t fill = 0) : w(w), h(h) {
        BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        dib.reset(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!dib) return;
        use.emplace(dc.get(), dib.get());
        for (int i = 0; i < w * h; ++i) static_cast<std::uint32_t*>(bits)[i] = fill;
    }
    std::uint32_t At(int x, int y) const { return GdiFlush(), static_cast<const std::uint32_t*>(bits)[y * w + x]; }
};

}  // namespace orv::test
