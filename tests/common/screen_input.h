// The mouse and the screen as a user's hand and eye: shared by the end-to-end driver and the
// benchmarks that click the real program.
#pragma once

#include <windows.h>

#include <vector>

namespace orv::test {

// One absolute mouse event at p (screen pixels), with a move there: normalised to 0..65535,
// rounded up so that it maps back onto the same pixel.
inline bool SendMouse(DWORD flags, POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    const LONGLONG cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((p.x * 65536LL + cx - 1) / cx);
    in.mi.dy = static_cast<LONG>((p.y * 65536LL + cy - 1) / cy);
    return SendInput(1, &in, sizeof in) == 1;
}

// Three pixels of a button's face (r on the screen), clear of its label: the left and right
// edges at half height and the bottom edge in the middle.
inline std::vector<COLORREF> FacePixels(HDC screen, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<COLORREF> face;
    for (const POINT p : {POINT{3, h / 2}, POINT{w - 4, h / 2}, POINT{w / 2, h - 2}})
        face.push_back(GetPixel(screen, r.left + p.x, r.top + p.y));
    return face;
}

}  // namespace orv::test
