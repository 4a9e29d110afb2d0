// The bar drawn before its buttons' windows exist: each face as the window will paint it.
#include <gtest/gtest.h>

#include "app/win/bar_buttons.h"
#include "base/win/handles.h"
#include "base/win/window_dpi.h"
#include "common/dib_surface.h"
#include "controls/win/candy_button.h"

namespace orv {
namespace {

// Faults: the bar's copy of a face in another colour scheme than the window's (desktop 1
// not marked), without the caption, the ink, the font or the picture, or painted over the
// corners the window's shape leaves out; a window's state read into its face wrongly.
TEST(BarButtonsWin, TheBarPaintsEachButtonAsItsWindowWill) {
    ASSERT_TRUE(CandyButton::Register());
    const HWND bar = CreateWindowExW(0, L"STATIC", L"bar", WS_POPUP, 0, 0, 600, 100, nullptr, nullptr, nullptr, nullptr);
    const BarLayout l = LayOutBar(static_cast<int>(WindowDpi(bar)));
    const BarPictures pictures = MakeBarPictures(l);
    UniqueFont font(CreateFontW(-l.captionHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    constexpr std::uint32_t kBackground = 0x405060;
    test::DibSurface drawn(l.width, l.height, kBackground), windows(l.width, l.height, kBackground);
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
                differ += drawn.At(x, y) != windows.At(x, y), face += drawn.At(x, y) != kBackground;
        EXPECT_EQ(differ, 0) << b.id;
        EXPECT_GT(face, b.box.width * b.box.height / 2) << b.id;  // a face, not the background
    }
    DestroyWindow(bar);
}

}  // namespace
}  // namespace orv
