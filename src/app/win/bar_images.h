// The bar's pictures: the image strips of its small buttons and its background.
#pragma once

#include <windows.h>

#include "base/win/handles.h"

namespace orv {

enum class StripGlyph { Quit, Hide };

inline constexpr int kStripWidth = 64;
inline constexpr int kStripHeight = 16;
inline constexpr int kImageFrameWidth = 22;  // the frame shows this much of the strip
inline constexpr int kPressedOffset = 33;    // the pressed picture starts here

// A 64 x 16 strip: the normal picture at the left, the pressed one from x = 33.
UniqueBitmap MakeImageStrip(StripGlyph glyph);

// The bar's background: a vertical gradient with edge lines.
void PaintBarBackground(HDC dc, const RECT& rc);

}  // namespace orv
