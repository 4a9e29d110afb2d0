// The bar's candy buttons: what each one is, the windows made from that, and the same faces
// painted by the bar itself while the windows are not made yet (the bar is shown and drawn
// first; its buttons' windows are made right after, and paint the same pixels).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/bar_layout.h"
#include "app/win/bar_images.h"

namespace orv {

inline constexpr int kBarButtonStyle = 7;  // rounded

struct BarButtonSpec {
    int id;
    BarBox box;
    std::wstring caption;
    int scheme;      // the colour scheme: 1 marks the current desktop
    HICON picture;   // not owned
};

// The six desktop buttons (desktop 1 current), then the snapshot, video and settings buttons.
std::vector<BarButtonSpec> BarButtonSpecs(const BarLayout& l, const BarPictures& pictures);

// A button's window in the bar, in its place; null on failure.
HWND CreateBarButton(HWND bar, const BarButtonSpec& b, HFONT font);

// Every button's face and the image strips, as the buttons' windows will paint them.
void PaintBarButtonFaces(HDC dc, const BarLayout& l, const BarPictures& pictures, HFONT font);

}  // namespace orv
