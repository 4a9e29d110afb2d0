// The bar drawn before its buttons' windows exist: each face as the window will paint it.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "app/win/bar_buttons.h"
#include "base/win/handles.h"
#include "base/win/window_dpi.h"
#include "controls/win/candy_button.h"

namespace orv {
namespace {

// A 32-bit surface of the bar's size on a background of its own.
struct Surface {
    int w, h;
    void* bits = nullptr;
    UniqueDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap dib;
    std::optional<SelectGuard> use;
    Surface(int w, int h) : w(w), h(h) {
        BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        dib.reset(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        use.emplace(dc.get(), dib.get());
        for (int i = 0; i < w * h; ++i) static_cast<std::uint32_t*>(bits)[i] = 0x405060;
    }
    std::uint32_t At(int x, int y) const { return static_cast<const std::uint32_t*>(bits)[y * w + x]; }
};

// Faults: the bar's copy of a face in another colour scheme than the window's (desktop 1
// not marked), without the caption, the ink, the font or the picture, or painted over the
// corners the window's shape leaves out; a window's state read into its face wrongly.
TEST(BarButtonsWin, TheBarPaintsEachButtonAsItsWindowWill) {
    ASSERT_TRUE(CandyButton::Register());
    const HWND bar = CreateWindowExW(0, L"STATIC", L"bar", WS_POPUP, 0, 0, 600, 100, nullptr, nullptr, nullptr, nullptr);
    const BarLayout l = LayOutBar(static_cast<int>(WindowDpi(bar)));
    const BarPictures pictures = MakeBarPictures(l);
    UniqueFont font(CreateFontW(-l.captionHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    Surface drawn(l.width, l.height), windows(l.width, l.height);
    PaintBarButtonFaces(drawn.dc.get(), l, pictures, font.get());
    for (const BarButtonSpec& b : BarButtonSpecs(l, pictures)) {
        const HWND w = CreateBarButton(bar, b, font.get());
        ASSERT_NE(w, nullptr) << b.id;
        UniqueRegion shape(CandyButton::ShapeRegion(kBarButtonStyle, b.box.width, b.box.height, b.box.left, b.box.top));
        const int saved = SaveDC(windows.dc.get());
        SelectClipRgn(windows.dc.get(), shape.get());
        SetViewportOrgEx(windows.dc.get(), b.box.left, b.box.top, nullptr);
        SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(windows.dc.get()), PRF_CLIENT);
        RestoreDC(windows.dc.get(), saved);
        // The window wears that shape itself.
        UniqueRegion own(CreateRectRgn(0, 0, 0, 0));
        OffsetRgn(shape.get(), -b.box.left, -b.box.top);
        EXPECT_TRUE(GetWindowRgn(w, own.get()) != ERROR && EqualRgn(own.get(), shape.get())) << b.id;
        int differ = 0, face = 0;
        for (int y = b.box.top; y < b.box.Bottom(); ++y)
            for (int x = b.box.left; x < b.box.Right(); ++x)
                differ += drawn.At(x, y) != windows.At(x, y), face += drawn.At(x, y) != 0x405060;
        EXPECT_EQ(differ, 0) << b.id;
        EXPECT_GT(face, b.box.width * b.box.height / 2) << b.id;  // a face, not the background
    }
    DestroyWindow(bar);
}

}  // namespace
}  // namespace orv
