// What becomes of a snapshot's rectangle once it is cut from the frozen screen: the
// clipboard's bitmap, the numbered BMP or JPEG file, the preview in the viewer of its type.
// Each step on its own: a failing one does not stop the next.
//
//   auto picture = std::make_unique<SnapPicture>();
//   picture->Make(w, h) && BitBlt(picture->Dc(), 0, 0, w, h, frozen, left, top, SRCCOPY);
//   DeliverSnapshot(std::move(picture), settings, tell);
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/win/handles.h"
#include "settings/settings.h"

namespace orv {

// picTemp: a 24-bit top-down DIB section in a memory DC.
class SnapPicture {
public:
    SnapPicture() = default;
    SnapPicture(const SnapPicture&) = delete;
    SnapPicture& operator=(const SnapPicture&) = delete;
    ~SnapPicture();
    [[nodiscard]] bool Make(int width, int height);
    HDC Dc() const { return dc_.get(); }
    const std::uint8_t* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    UniqueDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

// The clipboard's picture, rendered when a program asks for it: a screen-sized bitmap copied
// at once would cost more than the rest of the snapshot (under Wine the whole of it travels
// to the server). A hidden window of ours owns the clipboard and keeps the picture until
// another program takes the clipboard over; at shutdown it hands the bitmap over in full.
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
