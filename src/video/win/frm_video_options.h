// frmVideoOptions: the video settings dialog. Shown modally with the bar as owner, it edits
// the six desktops' video records: OK writes every row and reports whether the current
// desktop's record changed; Escape (on its release), the close image and any other way of
// closing write nothing.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "video/video_options.h"
#include "video/win/ctl_video_option.h"

namespace orv {

struct VideoOptionsContext {
    VideoOptions& options;
    std::function<int()> currentDesk;  // CurrentDesk (1 to 6) when OK is pressed (a hotkey may switch meanwhile)
    HWND bar;          // its caption and icon become the dialog's
    HBITMAP header;    // ImageHead's picture (the tray menu's Image1), or null
    // Run after OK when the current desktop's record changed; empty when the opener re-applies
    // nothing (the tray menu's "Video Settings": changes count from the next switch).
    std::function<void()> applyCurrentDesktopVideo;
};

// Child control identifiers.
enum VideoOptionsControl : int {
    kVidOk = IDOK,   // cmdOk
    kVidTitle = 100,  // the title label "Video Settings"
    kVidClose,        // imgButton
    kVidRow0,         // ucVOpt (0) .. (5)
};

inline constexpr wchar_t kVideoOptionsClass[] = L"OrvantaVideoOptions";

class FrmVideoOptions final : public Window {
public:
    // Shows the dialog and returns, once it has closed, how (and has re-applied the current
    // desktop's video where OK changed it).
    static VideoDialogResult Show(HWND owner, VideoOptionsContext& context);

    ~FrmVideoOptions() override;

private:
    explicit FrmVideoOptions(VideoOptionsContext& context) : ctx_(context) {}
    bool Build(HWND owner);
    void Layout(UINT dpi);
    void Ok();
    void Close() { done_ = true; }
    bool PreTranslate(MSG& m);
    void Paint(HDC dc);
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    VideoOptionsContext& ctx_;
    std::array<std::unique_ptr<CtlVideoOption>, kVideoDesks> rows_;  // ucVOpt
    VideoDialogResult result_;
    HICON icon_ = nullptr;
    UniqueFont font_, titleFont_;
    UniqueBrush page_;
    UINT dpi_ = 96;
    int footerTop_ = 0;
    bool done_ = false;
    bool escapeDown_ = false;
    HWND lastFocus_ = nullptr;
};

}  // namespace orv
