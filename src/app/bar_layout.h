// The bar's layout: every part's place for a DPI, designed in 96-DPI units and scaled.
// Sizes are scaled first and the parts placed one after another, so the six desktop
// buttons are the same size and the gaps the same at every DPI.
#pragma once

#include "app/desk_manager.h"

namespace orv {

struct BarBox {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool Contains(int x, int y) const { return x >= left && x < Right() && y >= top && y < Bottom(); }
};

struct BarLayout {
    int dpi = 96;
    int width = 0, height = 0;      // the bar's client size in pixels
    BarBox desk[kDeskCount];        // cmdDesk 0..5
    BarBox snap, video, setting;    // cmdSnap, cmdVideo, cmdSetting
    BarBox hide, quit;              // picButton 5 and 4: the frames of the image strips
    BarBox topBorder, bottomBorder; // imgTopBorder, imgBottomBorder
    BarBox container;               // picContainer: the background between the borders
    BarBox edge[2];                 // Line1 0 and 1: the left and right edges
    BarBox grip;                    // the ridged area at the left end
    int separator[2] = {};          // x of the lines between the button groups
    int iconSize = 16;              // the pictures of the snapshot, video and settings buttons
    int captionHeight = 12;         // the desktop buttons' caption font, in pixels
    int stripWidth = 64, stripHeight = 16, pressedOffset = 33;  // the image strips
};

// v in 96-DPI units at dpi, rounded to the nearest pixel.
int ScaleForDpi(int v, int dpi);

BarLayout LayOutBar(int dpi);

}  // namespace orv
