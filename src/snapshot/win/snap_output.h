// What becomes of a snapshot's rectangle once it is cut from the frozen screen: the
// clipboard's bitmap, the numbered BMP or JPEG file, the preview in the viewer of its type.
// Each step on its own: a failing one does not stop the next.
//
//   frozen->Select(left, top, w, h);
//   DeliverSnapshot(std::move(frozen), settings, tell);
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/win/handles.h"
#include "settings/settings.h"

namespace orv {

// A 24-bit top-down DIB section in a memory DC, and the rectangle of it that is the picture:
// the whole of it at first. The frozen screen is one, and the snapshot is its selected
// rectangle (picTemp), read in place rather than copied while the user waits.
class SnapPicture {
public:
    SnapPicture() = default;
    SnapPicture(const SnapPicture&) = delete;
    SnapPicture& operator=(const SnapPicture&) = delete;
    ~SnapPicture();
    [[nodiscard]] bool Make(int width, int height);
    // The picture becomes that rectangle of the DIB (false, unchanged, when it does not fit).
    bool Select(int left, int top, int width, int height);
    HDC Dc() const { return dc_.get(); }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The picture's top row, and the distance between rows.
    const std::uint8_t* Bits() const { return bits_ + top_ * stride_ + left_ * 3; }
    std::ptrdiff_t Stride() const { return stride_; }
    // A picture of its own holding just the rectangle (null when it cannot be made).
    std::unique_ptr<SnapPicture> Cut() const;

private:
    UniqueDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    int fullWidth_ = 0, fullHeight_ = 0;
    std::ptrdiff_t stride_ = 0;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// The clipboard's picture, rendered when a program asks for it: a screen-sized bitmap copied
// at once would cost more than the rest of the snapshot (under Wine the whole of it travels
// to the server). A hidden window of ours owns the clipboard and keeps the picture until
// another program takes the clipboard over; at shutdown it hands the bitmap over in full.
// A picture that is a rectangle of a larger one (the frozen screen) is cut to its size once
// the snapshot is delivered, so the screen's memory goes soon after.
class SnapClipboard {
public:
    // Empties the clipboard and offers the picture (CF_DIB) in place of what was there.
    static bool Offer(std::unique_ptr<SnapPicture> picture);
    // Shutdown: the picture goes onto the clipboard in full, the window goes.
    static void Release();
};

struct SnapDelivery {
    bool onClipboard = false;
    bool saved = false;   // the numbered file, or the preview's temporary one, was written
    bool opened = false;  // the viewer was asked to open it
};

// The clipboard; then, with "SnapSaveOn", the next number's file (the counter and the last
// file name change in `s`); then, with "SnapPreview", the viewer (the temporary RVTempX.BMP
// when nothing is saved). Only a written file is opened. `tell` hears of a failed save.
SnapDelivery DeliverSnapshot(std::unique_ptr<SnapPicture> picture, Settings& s,
                             const std::function<void(const std::string&)>& tell);

}  // namespace orv
