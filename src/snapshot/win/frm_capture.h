// frmCapture: the frozen screen on which the user drags the snapshot's rectangle. It covers
// the whole virtual screen (every monitor, negative coordinates included) in physical pixels,
// shows the rectangle inverted while the mouse is dragged, and on the release of any button
// copies the rectangle to the clipboard, saves it as a numbered BMP or JPEG file, opens it,
// with the capture sound; Escape cancels. The zoom window follows the pointer meanwhile.
//
//   SnapContext context{settings, programFolder, [&] { /* the bar comes back */ }};
//   FrmCapture::Show(context);   // returns at once; the selection runs modeless
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "settings/settings.h"
#include "snapshot/snap_rules.h"
#include "snapshot/win/f_magnify.h"
#include "snapshot/win/snap_output.h"

namespace orv {

inline constexpr wchar_t kCaptureClass[] = L"OrvantaCapture";

struct SnapContext {
    Settings& settings;         // the snapshot values; the counter and last file change here
    std::string programFolder;  // where capture.wav lies
    std::function<void()> onClosed;  // after a capture and after Escape alike
    // A snapshot that could not be saved: said to the user without stopping anything (the
    // picture is on the clipboard all the same).
    std::function<void(const std::string& text)> tell;
};

class FrmCapture final : public Window {
public:
    // Freezes the screen and shows the selection (an open one comes to the front). False
    // when its window or the frozen picture cannot be made: nothing is shown then.
    static bool Show(const SnapContext& context);
    static bool IsOpen();
    static void Close();  // as Escape (shutdown)
    ~FrmCapture() override;

private:
    explicit FrmCapture(const SnapContext& context) : context_(context) {}
    bool Freeze();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void DrawLine(POINT a, POINT b);  // the rectangle a-b, inverted: twice restores it
    static void InvertOutline(HDC dc, POINT a, POINT b);
    void CaptureArea(float x1, float x2, float y1, float y2);
    void Unload();

    SnapContext context_;
    RECT screen_{};  // the virtual screen: the window's place and the frozen picture's
    std::unique_ptr<SnapPicture> frozen_;  // becomes the snapshot, its rectangle selected
    POINT start_{}, last_{};  // StartX, StartY, LastX, LastY
    bool drawn_ = false;      // a rectangle is on the screen
    bool pressed_ = false;    // a button went down on the frozen screen
    std::unique_ptr<FMagnify> magnify_;
    HCURSOR cursor_ = nullptr;
};

}  // namespace orv
