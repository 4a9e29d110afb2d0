// The bar's pictures, drawn by our own code for the size they are shown at: the image strips
// of the hide and quit buttons, the pictures of the snapshot, video and settings buttons,
// and the bar's background with its borders and edge lines.
#pragma once

#include <windows.h>

#include "app/bar_layout.h"
#include "base/win/handles.h"

namespace orv {

enum class StripGlyph { Quit, Hide };
enum class ToolGlyph { Snapshot, Video, Settings };

inline void DestroyPicture(HICON icon) { DestroyIcon(icon); }
using BarIcon = Unique<NullInvalid<HICON, DestroyPicture>>;

// The ink of the buttons' captions and pictures.
inline constexpr COLORREF kBarInk = RGB(0x12, 0x1F, 0x3A);

// Every picture of the bar for one layout:
// - quit, hide: strips of l.stripWidth x l.stripHeight: the normal picture at the left, the
//   pressed one from l.pressedOffset, each as wide as the frame and on the bar's background
//   at the frame's place (the strips are the same for both frames);
// - snap, video, setting: pictures of l.iconSize square with an alpha channel.
struct BarPictures {
    BarIcon snap, video, setting;
    UniqueBitmap quit, hide;
};
BarPictures MakeBarPictures(const BarLayout& l);

// The bar's background, border strips, edge lines, separators and grip.
void PaintBar(HDC dc, const BarLayout& l);

}  // namespace orv
